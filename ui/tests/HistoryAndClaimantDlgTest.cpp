#include "CApplyHistoryDlg.h"
#include "CCardNamesDlg.h"
#include "CClaimantDlg.h"
#include "RefusalNotice.h"
#include "ScriptedPrompts.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace
{
AppliedLines::Application Application(QDateTime printed, std::int32_t amount, int lines,
                                      QString path, std::size_t record)
{
    AppliedLines::Application application;
    application.printed = printed;
    application.amount = amount;
    application.lineCount = lines;
    application.snapshotPath = path;
    application.record = record;
    return application;
}

CApplyHistoryDlg::History
Access(std::function<std::vector<AppliedLines::Application>()> list,
       std::function<bool(const AppliedLines::Application&, QString*)> cancel = nullptr)
{
    CApplyHistoryDlg::History history;
    history.list = std::move(list);
    history.cancel = std::move(cancel);
    return history;
}
} // namespace

TEST(ApplyHistoryDlg, ListsTheApplicationsAndOpensAReadableOne)
{
    QTemporaryDir dir;
    const QString snapshot = dir.filePath("Apply261130-091500.ent");
    QFile file(snapshot);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    auto november =
        Application(QDateTime(QDate(2026, 11, 30), QTime(9, 15)), 4700, 15, snapshot, 1);
    november.from = QDate(2026, 11, 4);
    november.to = QDate(2026, 11, 27);
    auto october = Application(QDateTime(QDate(2026, 10, 31), QTime(18, 2)), 1234567, -1,
                               dir.filePath("gone.ent"), 0);
    october.cancelled = QDate(2026, 11, 2);
    ScriptedPrompts prompts;
    CApplyHistoryDlg dialog(Access([&] { return std::vector{november, october}; }), prompts);
    QTableWidget& table = dialog.Table();
    ASSERT_EQ(table.rowCount(), 2);
    const QStringList first = {"2026/11/30 09:15", "2026/11/04～2026/11/27", "4,700円", "15件", ""};
    for (int column = 0; column < first.size(); ++column)
        EXPECT_EQ(table.item(0, column)->text(), first[column]) << column;
    EXPECT_EQ(table.item(1, 1)->text(), "—");
    EXPECT_EQ(table.item(1, 2)->text(), "1,234,567円");
    EXPECT_EQ(table.item(1, 3)->text(), "読めません");
    EXPECT_EQ(table.item(1, 4)->text(), "取消 2026/11/02");
    EXPECT_TRUE(dialog.OpenButton().isEnabled());
    table.selectRow(1);
    EXPECT_FALSE(dialog.OpenButton().isEnabled()); // nothing to open
    table.selectRow(0);
    dialog.OpenButton().click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedPath(), snapshot);
}

// 取消... asks first (no by default) and then takes the application back;
// the list shows it cancelled, and a cancelled one cannot be taken back again.
TEST(ApplyHistoryDlg, CancelAsksAndShowsTheApplicationTakenBack)
{
    std::vector<AppliedLines::Application> applications = {
        Application(QDateTime(QDate(2026, 12, 1), QTime(8, 30)), 900, 3, "/x/a.ent", 4)};
    std::vector<std::size_t> cancelled;
    ScriptedPrompts prompts;
    CApplyHistoryDlg dialog(Access([&] { return applications; },
                                   [&](const AppliedLines::Application& chosen, QString*) {
                                       cancelled.push_back(chosen.record);
                                       applications[0].cancelled = QDate(2026, 12, 10);
                                       return true;
                                   }),
                            prompts);
    ASSERT_TRUE(dialog.CancelButton().isEnabled());
    prompts.answers = {Prompts::Answer::No};
    dialog.CancelButton().click();
    EXPECT_TRUE(cancelled.empty());
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].startsWith("この申請を取り消しますか？"));
    EXPECT_TRUE(prompts.asked[0].contains("2026/12/01 08:30 印刷、—、900円、明細 3件"))
        << prompts.asked[0].toStdString();

    prompts.answers = {Prompts::Answer::Yes};
    dialog.CancelButton().click();
    EXPECT_EQ(cancelled, std::vector<std::size_t>{4});
    EXPECT_EQ(dialog.Table().item(0, 4)->text(), "取消 2026/12/10");
    EXPECT_FALSE(dialog.CancelButton().isEnabled());
}

// Each field shows its limit and refuses in words what does not fit.
TEST(ClaimantDlg, FieldsShowTheirLimits)
{
    CClaimantDlg dialog({QStringLiteral("営業部"), QString(), QString()});
    dialog.show();
    dialog.Field(0).setFocus();
    QApplication::setActiveWindow(&dialog);
    QLabel* counter = dialog.findChild<QLabel*>(QStringLiteral("counter"));
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->text(), "3/40");
    dialog.Field(0).setText(QString(37, QChar(0x30A2)));
    QTest::keyClicks(&dialog.Field(0), "ABCDEF");
    EXPECT_EQ(dialog.Field(0).text().size(), 40);
    EXPECT_EQ(counter->text(), "40/40");
    EXPECT_EQ(dialog.Notice().text(), "所属は40文字までです。「DEF」は入力されていません。");
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

TEST(CardNamesDlg, NamesEveryCardItLists)
{
    CCardNamesDlg dialog(
        {{"011402123A4B3906", QStringLiteral("通勤用 Suica"), QDate(2026, 11, 30), {}},
         {"012E4471089C1022", QString(), QDate(), {}}});
    QTableWidget& table = dialog.Table();
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.item(0, 0)->text(), "****3906");
    EXPECT_EQ(table.item(0, 1)->text(), "2026/11/30");
    EXPECT_FALSE(table.item(0, 0)->flags() & Qt::ItemIsEditable);
    table.item(0, 2)->setText(QString());
    table.item(1, 2)->setText(QStringLiteral(" 私用スマホ "));
    EXPECT_EQ(dialog.Result(), (std::vector<std::pair<QString, QString>>{
                                   {"011402123A4B3906", ""}, {"012E4471089C1022", "私用スマホ"}}));
}

// A print still in a queue shows as 保留 until its job is done.
TEST(ApplyHistoryDlg, AHeldPrintShowsAsHeld)
{
    std::vector<AppliedLines::Application> applications = {
        Application(QDateTime(QDate(2026, 12, 1), QTime(8, 30)), 900, 3, "/x/a.ent", 0),
        Application(QDateTime(QDate(2026, 11, 1), QTime(8, 30)), 600, 2, "/x/b.ent", 1)};
    ScriptedPrompts prompts;
    CApplyHistoryDlg::History history = Access([&] { return applications; });
    history.held = [](const AppliedLines::Application& a) { return a.record == 0; };
    CApplyHistoryDlg dialog(history, prompts);
    EXPECT_EQ(dialog.Table().item(0, 4)->text(), "保留");
    EXPECT_EQ(dialog.Table().item(1, 4)->text(), "");
    EXPECT_TRUE(dialog.ProblemLabel().isHidden());
    EXPECT_TRUE(dialog.RepairButton().isHidden());
}
