#include "ReaderPlatform.h"

#include "Folders.h"

#include <QFileInfo>
#include <gtest/gtest.h>

// On Windows: the Smart Card service, and the vendor library by its Windows
// name, which without one beside the program or Sony's is left to the
// system's search.
TEST(ReaderPlatform, WindowsNamesItsServiceAndLibrary)
{
    EXPECT_EQ(ReaderPlatform::PcscServiceName(), "Smart Card サービス");
    EXPECT_TRUE(ReaderPlatform::ServiceStoppedAdvice().contains("SCardSvr"));
    ASSERT_FALSE(QFileInfo::exists(JoinPath(GetModuleFolder(), "felica.dll")));
    const QString library = ReaderPlatform::VendorLibraryPath();
    EXPECT_TRUE(library == "felica.dll" ||
                library.endsWith("/Sony Shared/FeliCaLibrary/felica.dll"))
        << library.toStdString();
    EXPECT_EQ(ReaderPlatform::SimulatedLibraryPath(),
              JoinPath(GetModuleFolder(), "libfenwir-felica-sim.dll"));
}
