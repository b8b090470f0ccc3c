#include "CFelicaMod.h"
#include "CPcscMrica.h"
#include "CPcscPart3.h"
#include "CardDetector.h"
#include "CardReadJob.h"
#include "CardReader.h"
#include "CardWaitDialog.h"
#include "KnownReaders.h"
#include "PcscStack.h"
#include "ReaderSelection.h"
#include "SystemPcsc.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class PcscIntegrationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::exists("/usr/sbin/pcscd")) << "pcscd is missing: run tools/setup.sh";
        ASSERT_FALSE(PcscStack::ServiceAlreadyRunning())
            << "another pcscd is running; these tests start their own";
    }

    // A card image of n records written for this test.
    QString Card(int records)
    {
        QString text = QStringLiteral("UID: 01 14 02 12 3A 4B 5C 6D\n"
                                      "Manufacture parameter: 10 0B 4B 42 84 85 D0 FF\n"
                                      "System 00: 0003\n");
        for (int n = 0; n < records; ++n)
            text +=
                QStringLiteral("Block %1: | Service code 090F | Block index %2 | Data: 16 01 00 "
                               "00 35 62 01 10 01 20 E8 03 00 00 %3 %3 |\n")
                    .arg(n + 1, 4, 10, QChar('0'))
                    .arg(n, 2, 10, QChar('0'))
                    .arg(n, 2, 16, QChar('0'));
        const QString path = m_dir.filePath(QStringLiteral("card%1.txt").arg(records));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text.toUtf8());
        return path;
    }

    int Read(const QString& vendorLibrary = QString())
    {
        ReaderEnvironment environment{pcsc, vendorLibrary};
        CardReadJob job(lines, rows, card);
        const int result = ReadCard(job, 0, environment, nullptr);
        blocks = job.Blocks();
        return result;
    }

    QTemporaryDir m_dir;
    PcscStack stack;
    SystemPcsc pcsc;
    EntryLines lines;
    std::vector<CardHistoryRow> rows;
    CardInfo card;
    HistoryBlocks blocks;
};
} // namespace

TEST_F(PcscIntegrationTest, RecognisedReaderReadsAFullHistory)
{
    ASSERT_TRUE(stack.StartService("SCR331CL-NTTCom"));
    ASSERT_TRUE(stack.PlaceCard(Card(22)));
    CFelicaMod holder;
    ReaderEnvironment environment{pcsc, QString()};
    ASSERT_EQ(SelectReader(holder, environment), 0);
    EXPECT_EQ(holder.readerName, stack.ReaderName());
    EXPECT_EQ(holder.modelIndex, 1);

    ASSERT_EQ(Read(), 0) << stack.Log().toStdString();
    EXPECT_EQ(FormatIdm(card.idm), "011402123A4B5C6D");
    EXPECT_EQ(card.pmm[0], 0x10);
    ASSERT_EQ(blocks.size(), 20u);
    EXPECT_EQ(blocks[19][15], 19);
}

TEST_F(PcscIntegrationTest, ShortHistory)
{
    ASSERT_TRUE(stack.StartService("ACS ACR1252 1S CL Reader PICC"));
    ASSERT_TRUE(stack.PlaceCard(Card(3)));
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(blocks.size(), 3u);
}

TEST_F(PcscIntegrationTest, CircleReaderUsesItsOwnCommands)
{
    ASSERT_TRUE(stack.StartService("Circle CIR315 CL"));
    ASSERT_TRUE(stack.PlaceCard(Card(8)));
    CFelicaMod holder;
    ReaderEnvironment environment{pcsc, QString()};
    ASSERT_EQ(SelectReader(holder, environment), 0);
    EXPECT_NE(dynamic_cast<CPcscMrica*>(holder.module.get()), nullptr);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(blocks.size(), 8u);
}

TEST_F(PcscIntegrationTest, CardRemovedMidReadLeavesNoHistory)
{
    ASSERT_TRUE(stack.StartService("SCR331CL-NTTCom"));
    ASSERT_TRUE(stack.PlaceCard(Card(20), {"--remove-at", "5"}));
    rows.resize(1);
    EXPECT_EQ(Read(), kReaderNotConnected);
    EXPECT_TRUE(blocks.empty());
    EXPECT_EQ(card.kind, CardInfo::kNoCard);
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_TRUE(stack.WaitForNoCard());
}

TEST_F(PcscIntegrationTest, GarbledAnswersFailTheRead)
{
    for (const char* fault : {"--wrong-status-at", "--truncate-at"}) {
        PcscStack local;
        ASSERT_TRUE(local.StartService("SCR331CL-NTTCom"));
        ASSERT_TRUE(local.PlaceCard(Card(20), {fault, "2"}));
        EXPECT_EQ(Read(), kReaderNotConnected) << fault;
        EXPECT_TRUE(blocks.empty());
    }
}

TEST_F(PcscIntegrationTest, UnknownReaderWithoutPart3IsNeverUsed)
{
    ASSERT_TRUE(stack.StartService("Virtual PCD"));
    ASSERT_TRUE(stack.PlaceCard(Card(5), {"--part3", "off"}));
    CFelicaMod holder;
    ReaderEnvironment environment{pcsc, "/nonexistent/libfelica.so"};
    EXPECT_EQ(SelectReader(holder, environment), kReaderOpenFailed);
}

TEST_F(PcscIntegrationTest, NoReaderAttached)
{
    ASSERT_TRUE(stack.StartService(QString()));
    CFelicaMod holder;
    ReaderEnvironment environment{pcsc, "/nonexistent/libfelica.so"};
    EXPECT_EQ(SelectReader(holder, environment), kReaderNotConnected);
}

TEST_F(PcscIntegrationTest, ServiceStopped)
{
    CFelicaMod holder;
    ReaderEnvironment environment{pcsc, "/nonexistent/libfelica.so"};
    EXPECT_EQ(SelectReader(holder, environment), kReaderServiceStopped);
    EXPECT_EQ(Read("/nonexistent/libfelica.so"), kReaderServiceStopped);
}

TEST_F(PcscIntegrationTest, VendorLibraryWhenNoRecognisedReader)
{
    ASSERT_TRUE(stack.StartService("Virtual PCD"));
    qputenv("FENWIR_CARD_IMAGE", Card(6).toUtf8());
    EXPECT_EQ(Read(FENWIR_FELICA_SIM), 0);
    qunsetenv("FENWIR_CARD_IMAGE");
    EXPECT_EQ(blocks.size(), 6u);
    EXPECT_EQ(card.kind, CardInfo::kRead);
}

TEST_F(PcscIntegrationTest, UnknownReaderThatSpeaksPart3ReadsTheSameBlocks)
{
    const QString demo = QStringLiteral(FENWIR_SOURCE_DIR "/res/demo-card.json");
    HistoryBlocks named;
    {
        PcscStack known;
        ASSERT_TRUE(known.StartService("SCR331CL-NTTCom"));
        ASSERT_TRUE(known.PlaceCard(demo));
        ASSERT_EQ(Read(), 0);
        named = blocks;
    }
    ASSERT_EQ(named.size(), 20u);
    ASSERT_TRUE(stack.StartService("Sony FeliCa Port/PaSoRi 4.0"));
    ASSERT_TRUE(stack.PlaceCard(demo));
    CFelicaMod holder;
    ReaderEnvironment environment{pcsc, QString()};
    ASSERT_EQ(SelectReader(holder, environment), 0);
    EXPECT_NE(dynamic_cast<CPcscPart3*>(holder.module.get()), nullptr);
    ASSERT_EQ(Read(), 0) << stack.Log().toStdString();
    EXPECT_EQ(blocks, named);
    EXPECT_EQ(FormatIdm(card.idm), "011402123A4B5C6D");
}

namespace
{
struct FamilyReader {
    const char* name;
    const char* personality;
    int model;
};
const FamilyReader kFamilyReaders[] = {
    {"ACS ACR122U PICC Interface", "acr122", KnownReaders::kAcr122Model},
    {"ACS ACR1252 Dual Reader [ACR1252 Dual Reader PICC]", "acs-direct",
     KnownReaders::kAcsDirectModel},
    {"Identiv uTrust 3700 F CL Reader [uTrust 3700 F CL Reader]", "identiv",
     KnownReaders::kIdentivModel},
};

// The detection dialog of a test: it lays the card once the wait has begun,
// then lets the detector wait for it.
class LayingDialog : public CardWaitDialog
{
public:
    explicit LayingDialog(std::function<bool()> lay) : m_lay(std::move(lay)) {}

    bool Run(CardDetector& detector) override
    {
        detector.Open();
        laid = m_lay();
        while (laid && m_running && detector.GetState() == CardDetector::State::Waiting)
            detector.Tick();
        return m_accepted;
    }
    void ShowStatus(const QString&) override {}
    void ShowFailure(const QString&) override {}
    void StartTimer(int) override { m_running = true; }
    void StopTimer() override { m_running = false; }
    void Accept() override { m_accepted = true; }

    bool laid = false;

private:
    std::function<bool()> m_lay;
    bool m_running = false;
    bool m_accepted = false;
};
} // namespace

TEST_F(PcscIntegrationTest, ReaderFamiliesReadUnderTheirOwnNames)
{
    for (const FamilyReader& family : kFamilyReaders) {
        SCOPED_TRACE(family.personality);
        PcscStack local;
        ASSERT_TRUE(local.StartService(family.name));
        ASSERT_TRUE(local.PlaceCard(Card(22), {"--personality", family.personality}));
        CFelicaMod holder;
        ReaderEnvironment environment{pcsc, QString()};
        ASSERT_EQ(SelectReader(holder, environment), 0);
        EXPECT_EQ(holder.readerName, local.ReaderName());
        EXPECT_EQ(holder.modelIndex, family.model);
        ASSERT_EQ(Read(), 0) << local.Log().toStdString();
        ASSERT_EQ(blocks.size(), 20u);
        EXPECT_EQ(blocks[19][15], 19);
        EXPECT_EQ(FormatIdm(card.idm), "011402123A4B5C6D");
    }
}

TEST_F(PcscIntegrationTest, ReaderFamiliesReadACardLaidDuringTheWait)
{
    for (const FamilyReader& family : kFamilyReaders) {
        SCOPED_TRACE(family.personality);
        PcscStack local;
        ASSERT_TRUE(local.StartService(family.name));
        const QString image = Card(6);
        LayingDialog dialog([&] {
            return local.PlaceCard(image, {"--personality", family.personality}, false);
        });
        ReaderEnvironment environment{pcsc, QString()};
        CardReadJob job(lines, rows, card);
        EXPECT_EQ(ReadCard(job, 20, environment, &dialog), 0) << local.Log().toStdString();
        EXPECT_TRUE(dialog.laid);
        EXPECT_EQ(job.Blocks().size(), 6u);
    }
}

TEST_F(PcscIntegrationTest, ReaderFamiliesFailWholeOnABrokenAnswer)
{
    for (const FamilyReader& family : kFamilyReaders) {
        for (const char* fault : {"--remove-at", "--wrong-status-at", "--truncate-at"}) {
            SCOPED_TRACE(std::string(family.personality) + " " + fault);
            PcscStack local;
            ASSERT_TRUE(local.StartService(family.name));
            ASSERT_TRUE(
                local.PlaceCard(Card(20), {"--personality", family.personality, fault, "4"}));
            rows.resize(1);
            EXPECT_EQ(Read(), kReaderNotConnected);
            EXPECT_TRUE(blocks.empty());
            EXPECT_EQ(card.kind, CardInfo::kNoCard);
            EXPECT_EQ(rows.size(), 1u);
        }
    }
}
