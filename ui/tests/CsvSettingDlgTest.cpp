#include "CCsvSettingDlg.h"

#include <QListWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace
{
QStringList Texts(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text() + (list.item(i)->checkState() == Qt::Checked ? "*" : "");
    return texts;
}
} // namespace

TEST(CsvSettingDlg, ListsChosenColumnsFirstThenTheRest)
{
    CCsvSettingDlg dialog({"9,2,9,1,13", true, false});
    EXPECT_EQ(Texts(dialog.List()),
              QStringList({"料金/入金額*", "日付*", "料金/入金額*", "入場会社名", "入場路線名",
                           "入場駅名", "出場会社名", "出場路線名", "出場駅名", "残高", "訪問先",
                           "備考"}));
    EXPECT_EQ(dialog.List().currentRow(), 0);
    dialog.accept();
    EXPECT_EQ(dialog.Result().outputItem, "9,2,9");
    EXPECT_TRUE(dialog.Result().applyOnly);
    EXPECT_FALSE(dialog.Result().header);
}

TEST(CsvSettingDlg, ReorderAndTickWriteTheOrder)
{
    CCsvSettingDlg dialog({"2,5,8,9,11,12", false, true});
    dialog.List().setCurrentRow(3); // 料金/入金額
    dialog.MoveUp();
    dialog.MoveUp();
    dialog.MoveUp();
    dialog.MoveUp(); // already first: stays
    EXPECT_EQ(dialog.List().currentRow(), 0);
    dialog.List().setCurrentRow(dialog.List().count() - 1);
    dialog.MoveDown();                                   // already last: stays
    dialog.List().item(2)->setCheckState(Qt::Unchecked); // 入場駅名
    dialog.accept();
    EXPECT_EQ(dialog.Result().outputItem, "9,2,8,11,12");

    CCsvSettingDlg none({"2", false, true});
    none.List().item(0)->setCheckState(Qt::Unchecked);
    none.accept();
    EXPECT_EQ(none.Result().outputItem, "");
    EXPECT_TRUE(dialog.UpButton().toolTip().contains("項目を上に移動します。"));
    EXPECT_TRUE(dialog.DownButton().toolTip().contains("下へ"));
}

TEST(CsvSettingDlg, CancelKeepsTheCopies)
{
    CCsvSettingDlg dialog({"2,5", false, true});
    dialog.List().item(0)->setCheckState(Qt::Unchecked);
    dialog.reject();
    EXPECT_EQ(dialog.Result().outputItem, "2,5");
}
