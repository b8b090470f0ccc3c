#include "ReaderPlatform.h"

#include "CPasoriMod.h"
#include "Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// On Windows: the Smart Card service, and the vendor library by its Windows
// name, which without one beside the program or Sony's is left to the
// system's search.
TEST(ReaderPlatform, WindowsNamesItsServiceAndLibrary)
{
    EXPECT_EQ(ReaderPlatform::PcscServiceName(), "Smart Card サービス");
    EXPECT_FALSE(ReaderPlatform::ServiceStoppedAdvice().contains("SCardSvr")); // plain words
    EXPECT_TRUE(ReaderPlatform::ServiceStoppedDetails().contains("SCardSvr"));
    ASSERT_FALSE(QFileInfo::exists(JoinPath(GetModuleFolder(), "felica.dll")));
    const QString library = ReaderPlatform::VendorLibraryPath();
    EXPECT_TRUE(library == "felica.dll" ||
                library.endsWith("/Sony Shared/FeliCaLibrary/felica.dll"))
        << library.toStdString();
    EXPECT_EQ(ReaderPlatform::SimulatedLibraryPath(),
              JoinPath(GetModuleFolder(), "libfenwir-felica-sim.dll"));
}

// A felica.dll that happens to lie in the current folder (beside a claim
// opened from a download, say) is never loaded as the vendor's library; one
// named by its path is.
TEST(ReaderPlatform, TheVendorLibraryIsNeverTakenFromTheCurrentFolder)
{
    QTemporaryDir dir;
    const QString planted = dir.filePath("felica.dll");
    ASSERT_TRUE(QFile::copy(QStringLiteral(FENWIR_FELICA_SIM), planted));
    const QString kept = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    int fromHere = 0;
    int named = 0;
    {
        CPasoriMod mod(QStringLiteral("felica.dll"));
        fromHere = mod.IsAvailable();
    }
    {
        CPasoriMod mod(planted);
        named = mod.IsAvailable();
    }
    QDir::setCurrent(kept);
    EXPECT_EQ(fromHere, 0);
    EXPECT_EQ(named, 1);
}
