#include "ReaderPlatform.h"

#include "Folders.h"

#include <gtest/gtest.h>

// On Linux: pcscd, how to start it, and the vendor library beside the program.
TEST(ReaderPlatform, LinuxNamesItsServiceAndLibrary)
{
    EXPECT_EQ(ReaderPlatform::PcscServiceName(), "pcscd");
    EXPECT_TRUE(ReaderPlatform::ServiceStoppedDetails().contains(
        "sudo systemctl enable --now pcscd.socket"));
    EXPECT_EQ(ReaderPlatform::VendorLibraryPath(), JoinPath(GetModuleFolder(), "libfelica.so"));
    EXPECT_EQ(ReaderPlatform::SimulatedLibraryPath(),
              JoinPath(GetModuleFolder(), "libfenwir-felica-sim.so"));
}
