#include "CAboutDlg.h"
#include "ProductVersion.h"

#include <QLabel>
#include <gtest/gtest.h>

TEST(AboutDlg, ShowsTheBuildsVersion)
{
    CAboutDlg about;
    const auto* version = about.findChild<QLabel*>("version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Fenwir Lite Version " + GetProductVersion());
    EXPECT_EQ(about.windowTitle(), "Fenwir Liteのバージョン情報");
}
