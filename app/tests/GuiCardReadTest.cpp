#include "GuiCardRead.h"

#include "AppSettings.h"
#include "CardWaitDialog.h"
#include "StatusPanes.h"

#include <gtest/gtest.h>

// While the detection dialog shows its failure and waits for the user, the
// status bar already says what it said before the read.
TEST(GuiCardRead, FailedWaitPutsThePanesBackAtOnce)
{
    AppSettings settings;
    QWidget window;
    StatusPanes panes(&window);
    panes.SetCardPaneTexts("0000000000000001", "  500円");
    GuiCardRead read(panes, settings, &window);
    read.ShowCardStatus("カード読込中…", -1);
    CardWaitDialog* dialog = read.WaitDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(panes.CardText(), "カード読込中…");
    dialog->ShowFailure("カードの読み込みに失敗しました。");
    EXPECT_EQ(panes.CardText(), "0000000000000001");
    EXPECT_EQ(panes.BalanceText(), "  500円");
}
