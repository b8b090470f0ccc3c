#include "CReaderCheckDlg.h"
#include "PcscUnavailable.h"
#include "ReaderPlatform.h"
#include "ReaderSelection.h"

#include <QPushButton>
#include <gtest/gtest.h>

TEST(ReaderCheckDlg, ShowsTheSurveyAndLooksAgainOnRequest)
{
    PcscUnavailable noService;
    ReaderEnvironment environment{noService, "/nonexistent/libfelica.so"};
    CReaderCheckDlg dialog(environment);
    EXPECT_EQ(dialog.windowTitle(), "カードリーダーの確認");
    // The system's own service, and what to do about it on this system.
    const QString service = ReaderPlatform::PcscServiceName();
    EXPECT_TRUE(dialog.Text().contains(service + " が動いていません"))
        << dialog.Text().toStdString();
    EXPECT_TRUE(dialog.Text().contains(ReaderPlatform::ServiceStoppedAdvice().trimmed()));
    auto* again = dialog.findChild<QPushButton*>("refresh");
    ASSERT_NE(again, nullptr);
    again->click();
    EXPECT_TRUE(dialog.Text().startsWith("PC/SC (" + service + "):"));
}
