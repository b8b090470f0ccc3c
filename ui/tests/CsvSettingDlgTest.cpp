#include "AppSettings.h"
#include "CCsvFileDlg.h"
#include "CCsvSettingDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTimer>
#include <QToolButton>
#include <functional>
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

TEST(CsvSettingDlg, LayoutEncodingAndCardIdComeBackOnOk)
{
    struct Case {
        bool history, utf8, showCardId;
    };
    for (const Case c : {Case{false, false, false}, Case{true, false, true},
                         Case{false, true, false}, Case{true, true, false}}) {
        CCsvSettingDlg::Choices given{"2,5", false, true};
        given.history = c.history;
        given.utf8 = c.utf8;
        given.showCardId = c.showCardId;
        CCsvSettingDlg shown(given);
        EXPECT_EQ(shown.Profile().currentText(), c.history ? "カード履歴" : "選択した項目");
        // The history layout is always written in Shift-JIS.
        EXPECT_EQ(shown.Encoding().currentText(),
                  c.utf8 && !c.history ? "UTF-8 (BOM付き)" : "Shift-JIS");
        EXPECT_EQ(shown.ShowCardId().isChecked(), c.showCardId);

        CCsvSettingDlg flipped(given);
        flipped.Profile().setCurrentIndex(0);
        flipped.Encoding().setCurrentIndex(c.utf8 ? 0 : 1);
        flipped.Profile().setCurrentIndex(c.history ? 0 : 1);
        flipped.ShowCardId().setChecked(!c.showCardId);
        flipped.accept();
        EXPECT_EQ(flipped.Result().history, !c.history);
        EXPECT_EQ(flipped.Result().utf8, !c.utf8);
        EXPECT_EQ(flipped.Result().showCardId, !c.showCardId);
        EXPECT_EQ(flipped.Result().outputItem, "2,5");
    }
}

TEST(CsvSettingDlg, CardHistoryHasItsOwnColumnsHeaderAndEncoding)
{
    CCsvSettingDlg dialog({"2,5", false, true});
    const auto columnChoicesEnabled = [&] {
        return dialog.List().isEnabled() && dialog.UpButton().isEnabled() &&
               dialog.DownButton().isEnabled() && dialog.Encoding().isEnabled() &&
               dialog.findChild<QCheckBox*>("header")->isEnabled();
    };
    EXPECT_TRUE(columnChoicesEnabled());
    EXPECT_FALSE(dialog.ShowCardId().isEnabled());
    dialog.Profile().setCurrentIndex(1);
    EXPECT_FALSE(dialog.List().isEnabled());
    EXPECT_FALSE(dialog.Encoding().isEnabled());
    EXPECT_FALSE(dialog.findChild<QCheckBox*>("header")->isEnabled());
    EXPECT_TRUE(dialog.ShowCardId().isEnabled());
    dialog.Profile().setCurrentIndex(0);
    EXPECT_TRUE(columnChoicesEnabled());

    // The encoding for the columns survives a look at the history layout.
    dialog.Encoding().setCurrentIndex(1);
    dialog.Profile().setCurrentIndex(1);
    EXPECT_EQ(dialog.Encoding().currentText(), "Shift-JIS");
    dialog.accept();
    EXPECT_TRUE(dialog.Result().utf8);
    dialog.Profile().setCurrentIndex(0);
    EXPECT_EQ(dialog.Encoding().currentText(), "UTF-8 (BOM付き)");
}

namespace
{
// Runs the options of a save dialog and answers them with `answer`.
void RunOptions(AppSettings& settings, const std::function<void(CCsvSettingDlg&)>& answer)
{
    CCsvFileDlg save(settings, QStringLiteral("/tmp/Entry.csv"));
    QTimer::singleShot(0, &save, [&] {
        auto* options = save.findChild<CCsvSettingDlg*>();
        ASSERT_NE(options, nullptr);
        answer(*options);
    });
    save.ShowOptions();
}
} // namespace

TEST(CsvSettingDlg, OptionsOfTheSaveDialogGoToTheSettings)
{
    AppSettings settings;
    RunOptions(settings, [](CCsvSettingDlg& options) {
        EXPECT_EQ(options.Profile().currentIndex(), 0);
        options.Encoding().setCurrentIndex(1);
        options.Profile().setCurrentIndex(1);
        options.ShowCardId().setChecked(true);
        options.accept();
    });
    EXPECT_EQ(settings.CsvProfile, AppSettings::kCsvHistory);
    EXPECT_EQ(settings.CsvEncoding, AppSettings::kCsvUtf8);
    EXPECT_EQ(settings.CsvShowCardId, 1);

    RunOptions(settings, [](CCsvSettingDlg& options) {
        EXPECT_EQ(options.Profile().currentIndex(), 1);
        EXPECT_TRUE(options.ShowCardId().isChecked());
        options.Profile().setCurrentIndex(0);
        EXPECT_EQ(options.Encoding().currentIndex(), 1);
        options.reject();
    });
    EXPECT_EQ(settings.CsvProfile, AppSettings::kCsvHistory);

    RunOptions(settings, [](CCsvSettingDlg& options) {
        options.Profile().setCurrentIndex(0);
        options.Encoding().setCurrentIndex(0);
        options.accept();
    });
    EXPECT_EQ(settings.CsvProfile, AppSettings::kCsvColumns);
    EXPECT_EQ(settings.CsvEncoding, AppSettings::kCsvShiftJis);
}
