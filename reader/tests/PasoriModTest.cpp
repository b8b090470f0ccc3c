#include "CPasoriMod.h"
#include "TestCards.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class PasoriModTest : public ::testing::Test
{
protected:
    PasoriModTest()
    {
        const QString image = dir.filePath("card.json");
        QFile file(image);
        file.open(QIODevice::WriteOnly);
        file.write(TestCard(7, {0x0003, 0x80DE}).ToJson());
        qputenv("FENWIR_CARD_IMAGE", image.toUtf8());
    }
    ~PasoriModTest() override
    {
        qunsetenv("FENWIR_CARD_IMAGE");
        qunsetenv("FENWIR_FELICA_SIM_FAULT");
    }

    QTemporaryDir dir;
    CardId idm{};
    CardId pmm{};
    HistoryBlocks blocks;
};
} // namespace

TEST_F(PasoriModTest, MissingLibraryIsUnavailable)
{
    // Nothing there, not a library, a library without the entry points.
    for (const QString& path : {QString(), QString("/nonexistent/libfelica.so"),
                                QString(FENWIR_SOURCE_DIR "/README.md"), QString("libm.so.6")}) {
        CPasoriMod mod(path);
        EXPECT_EQ(mod.IsAvailable(), 0);
        EXPECT_EQ(mod.Open(), 0);
        EXPECT_EQ(mod.Polling(idm, pmm, 3, 0, 0), 0);
        EXPECT_EQ(mod.ReadBlocks(idm, 0x090F, 3, blocks, 20), 0);
        EXPECT_EQ(mod.GetName(), "");
        EXPECT_EQ(mod.IsAlive(), 0);
    }
}

TEST_F(PasoriModTest, ReadsTheCardUpToItsLastRecord)
{
    CPasoriMod mod(FENWIR_FELICA_SIM);
    ASSERT_EQ(mod.IsAvailable(), 1);
    ASSERT_EQ(mod.Open(), 1);
    EXPECT_EQ(mod.Open(), 1);
    EXPECT_EQ(mod.IsAlive(), 1);
    EXPECT_EQ(mod.GetVersion(), 100);
    EXPECT_EQ(mod.Polling(idm, pmm, 0x865E, 0, 0), 0);
    ASSERT_EQ(mod.Polling(idm, pmm, 0x80DE, 0, 0), 1);
    EXPECT_EQ(idm[7], 0x6D);
    EXPECT_EQ(pmm[0], 0x10);
    ASSERT_EQ(mod.ReadBlocks(idm, 0x090F, 0x80DE, blocks, 20), 1);
    ASSERT_EQ(blocks.size(), 7u);
    EXPECT_EQ(blocks[6][15], 6);
    EXPECT_EQ(mod.Close(), 1);
    EXPECT_EQ(mod.IsOpen(), 0);
}

TEST_F(PasoriModTest, ErrorTypeNinetyEightDiscardsTheRead)
{
    qputenv("FENWIR_FELICA_SIM_FAULT", "error98:4");
    CPasoriMod mod(FENWIR_FELICA_SIM);
    ASSERT_EQ(mod.Open(), 1);
    ASSERT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 1);
    blocks = {HistoryBlock{}};
    EXPECT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0);
    EXPECT_TRUE(blocks.empty());
}

TEST_F(PasoriModTest, FailedDisposeKeepsTheModuleOpen)
{
    CPasoriMod mod(FENWIR_FELICA_SIM);
    ASSERT_EQ(mod.Open(), 1);
    qputenv("FENWIR_FELICA_SIM_FAULT", "dispose-fails");
    EXPECT_EQ(mod.Close(), 0);
    EXPECT_EQ(mod.IsOpen(), 1);
    qunsetenv("FENWIR_FELICA_SIM_FAULT");
    EXPECT_EQ(mod.Close(), 1);
    EXPECT_EQ(mod.IsOpen(), 0);
}
