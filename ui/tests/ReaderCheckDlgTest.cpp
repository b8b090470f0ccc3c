#include "CReaderCheckDlg.h"
#include "PcscUnavailable.h"
#include "ReaderSelection.h"

#include <QPushButton>
#include <gtest/gtest.h>

TEST(ReaderCheckDlg, ShowsTheSurveyAndLooksAgainOnRequest)
{
    PcscUnavailable noService;
    ReaderEnvironment environment{noService, "/nonexistent/libfelica.so"};
    CReaderCheckDlg dialog(environment);
    EXPECT_EQ(dialog.windowTitle(), "カードリーダーの確認");
    EXPECT_TRUE(dialog.Text().contains("pcscd が動いていません")) << dialog.Text().toStdString();
    EXPECT_TRUE(dialog.Text().contains("sudo systemctl enable --now pcscd.socket"));
    auto* again = dialog.findChild<QPushButton*>("refresh");
    ASSERT_NE(again, nullptr);
    again->click();
    EXPECT_TRUE(dialog.Text().startsWith("PC/SC (pcscd):"));
}
