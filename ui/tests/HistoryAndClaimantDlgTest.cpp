#include "CApplyHistoryDlg.h"
#include "CClaimantDlg.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ApplyHistoryDlg, ListsTheApplicationsAndOpensAReadableOne)
{
    QTemporaryDir dir;
    const QString snapshot = dir.filePath("Apply261130-091500.ent");
    QFile file(snapshot);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    CApplyHistoryDlg dialog(
        {{QDateTime(QDate(2026, 11, 30), QTime(9, 15)), 4700, 15, snapshot},
         {QDateTime(QDate(2026, 10, 31), QTime(18, 2)), 1234567, -1, dir.filePath("gone.ent")}});
    QTableWidget& table = dialog.Table();
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.item(0, 0)->text(), "2026/11/30 09:15");
    EXPECT_EQ(table.item(0, 1)->text(), "4,700円");
    EXPECT_EQ(table.item(0, 2)->text(), "15件");
    EXPECT_EQ(table.item(1, 1)->text(), "1,234,567円");
    EXPECT_EQ(table.item(1, 2)->text(), "読めません");
    EXPECT_TRUE(dialog.OpenButton().isEnabled());
    table.selectRow(1);
    EXPECT_FALSE(dialog.OpenButton().isEnabled()); // nothing to open
    table.selectRow(0);
    dialog.OpenButton().click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedPath(), snapshot);
}

TEST(ClaimantDlg, GivesBackTheThreeTexts)
{
    CClaimantDlg dialog({QStringLiteral("営業部"), QString(), QStringLiteral("山田花子")});
    EXPECT_EQ(dialog.windowTitle(), "申請者情報");
    EXPECT_EQ(dialog.Field(0).text(), "営業部");
    dialog.Field(1).setText(QStringLiteral("  A-1024 "));
    EXPECT_EQ(dialog.Result(),
              (CClaimantDlg::Claimant{QStringLiteral("営業部"), QStringLiteral("A-1024"),
                                      QStringLiteral("山田花子")}));
}
