#include "CApplyHistoryDlg.h"
#include "CCancelReasonDlg.h"
#include "CCardNamesDlg.h"
#include "CClaimantDlg.h"
#include "RefusalNotice.h"
#include "ScriptedPrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
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
    application.id = QStringLiteral("A%1").arg(record + 1, 5, 10, QLatin1Char('0'));
    application.printed = printed;
    application.amount = amount;
    application.lineCount = lines;
    application.snapshotPath = path;
    application.snapshotFile = path;
    application.record = record;
    return application;
}

using CancelStep =
    std::function<bool(const AppliedLines::Application&, const QString& reason, QString*)>;

CApplyHistoryDlg::History Access(std::function<std::vector<AppliedLines::Application>()> list,
                                 CancelStep cancel = nullptr)
{
    CApplyHistoryDlg::History history;
    history.list = std::move(list);
    history.cancel = std::move(cancel);
    return history;
}

QStringList Column(const QTableWidget& table, int column)
{
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row)
        texts << table.item(row, column)->text();
    return texts;
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
    october.cancelReason = QStringLiteral("金額の誤り\n再申請");
    october.check = AppliedLines::Check::Missing;
    october.checkDetail = QStringLiteral("控えのファイル gone.ent がありません");
    ScriptedPrompts prompts;
    CApplyHistoryDlg dialog(Access([&] { return std::vector{november, october}; }), prompts);
    QTableWidget& table = dialog.Table();
    ASSERT_EQ(table.rowCount(), 2);
    const QStringList first = {
        "A00002", "2026/11/30 09:15", "2026/11/04～2026/11/27", "4,700円", "15件", "", "一致"};
    for (int column = 0; column < first.size(); ++column)
        EXPECT_EQ(table.item(0, column)->text(), first[column]) << column;
    using C = CApplyHistoryDlg::Column;
    EXPECT_EQ(table.item(1, C::Period)->text(), "—");
    EXPECT_EQ(table.item(1, C::Amount)->text(), "1,234,567円");
    EXPECT_EQ(table.item(1, C::Lines)->text(), "読めません");
    EXPECT_EQ(table.item(1, C::State)->text(), "取消 2026/11/02：金額の誤り 再申請");
    // An application whose snapshot fails verification is marked, and says why.
    EXPECT_EQ(table.item(1, C::Verified)->text(), "⚠ 要確認");
    EXPECT_EQ(table.item(1, C::Verified)->toolTip(), october.checkDetail);
    EXPECT_EQ(dialog.SummaryLabel().text(), "該当 2件　合計 4,700円（取消 1件を除く）");
    EXPECT_TRUE(dialog.OpenButton().isEnabled());
    table.selectRow(1);
    EXPECT_FALSE(dialog.OpenButton().isEnabled()); // nothing to open
    table.selectRow(0);
    dialog.OpenButton().click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedPath(), snapshot);
}

// 取消... asks why (nothing happens without a reason) and then takes the
// application back; the list shows it cancelled with its day and reason,
// and a cancelled one cannot be taken back again.
TEST(ApplyHistoryDlg, CancelAsksWhyAndShowsTheApplicationTakenBack)
{
    std::vector<AppliedLines::Application> applications = {
        Application(QDateTime(QDate(2026, 12, 1), QTime(8, 30)), 900, 3, "/x/a.ent", 4)};
    std::vector<std::pair<std::size_t, QString>> cancelled;
    ScriptedPrompts prompts;
    CApplyHistoryDlg dialog(
        Access([&] { return applications; },
               [&](const AppliedLines::Application& chosen, const QString& reason, QString*) {
                   cancelled.emplace_back(chosen.record, reason);
                   applications[0].cancelled = QDate(2026, 12, 10);
                   applications[0].cancelReason = reason;
                   return true;
               }),
        prompts);
    QStringList asked;
    std::optional<QString> answer;
    dialog.SetReasonAsker([&](const QString& description) {
        asked << description;
        return answer;
    });
    ASSERT_TRUE(dialog.CancelButton().isEnabled());
    dialog.CancelButton().click();
    EXPECT_TRUE(cancelled.empty());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0], "2026/12/01 08:30 印刷、—、900円、明細 3件");

    answer = QStringLiteral("𠮷田様の重複");
    dialog.CancelButton().click();
    ASSERT_EQ(cancelled.size(), 1u);
    EXPECT_EQ(cancelled[0], std::pair(std::size_t{4}, QStringLiteral("𠮷田様の重複")));
    EXPECT_EQ(dialog.Table().item(0, CApplyHistoryDlg::State)->text(),
              "取消 2026/12/10：𠮷田様の重複");
    EXPECT_FALSE(dialog.CancelButton().isEnabled());
}

// The reason is required and holds 100 characters at most.
TEST(ApplyHistoryDlg, TheReasonIsRequiredAndLimited)
{
    CCancelReasonDlg dialog(QStringLiteral("2026/12/01 08:30 印刷"));
    dialog.show();
    dialog.Field().setFocus();
    QApplication::setActiveWindow(&dialog);
    EXPECT_FALSE(dialog.OkButton().isEnabled());
    QTest::keyClicks(&dialog.Field(), "   ");
    EXPECT_FALSE(dialog.OkButton().isEnabled());
    dialog.Field().setText(QString(98, QChar(0x30A2)));
    QTest::keyClicks(&dialog.Field(), "ABCD");
    EXPECT_TRUE(dialog.OkButton().isEnabled());
    EXPECT_EQ(dialog.Reason().size(), CCancelReasonDlg::kLimit);
    EXPECT_TRUE(dialog.Notice().text().contains("「CD」")) << dialog.Notice().text().toStdString();
}

// The search row narrows the list by print date, amount and text and says
// what the matches come to; 書き出し... writes exactly the listed ones.
TEST(ApplyHistoryDlg, SearchNarrowsTheListAndExportWritesIt)
{
    auto october = Application(QDateTime(QDate(2026, 10, 30), QTime(9, 0)), 600, 2, "/x/a.ent", 0);
    october.texts = QStringList{QStringLiteral("横浜支店"), QStringLiteral("品川")};
    auto november = Application(QDateTime(QDate(2026, 11, 30), QTime(9, 0)), 900, 3, "/x/b.ent", 1);
    november.texts = QStringList{QStringLiteral("本社"), QStringLiteral("品川")};
    auto december = Application(QDateTime(QDate(2026, 12, 1), QTime(9, 0)), 4540, 9, "/x/c.ent", 2);
    december.texts = QStringList{QStringLiteral("横浜営業所")};
    ScriptedPrompts prompts;
    CApplyHistoryDlg::History history = Access([&] {
        return std::vector{december, november, october};
    });
    std::vector<QString> exported;
    history.chooseFolder = [] { return QStringLiteral("/archive"); };
    history.exportTo = [&](const std::vector<AppliedLines::Application>& listed, const QString&) {
        for (const auto& a : listed)
            exported.push_back(a.id);
        ApplicationArchive::Report report;
        report.written = {"a.pdf", "申請一覧.csv"};
        return report;
    };
    CApplyHistoryDlg dialog(std::move(history), prompts);
    QTableWidget& table = dialog.Table();
    struct Case {
        const char* name;
        std::function<void()> set;
        QStringList ids;
        const char* summary;
    };
    const Case cases[] = {
        {"nothing asked", [] {}, {"A00003", "A00002", "A00001"}, "該当 3件　合計 6,040円"},
        {"a text",
         [&] { dialog.SearchText().setText("横浜"); },
         {"A00003", "A00001"},
         "該当 2件　合計 5,140円"},
        {"a text and a lowest amount",
         [&] { dialog.MinAmount().setText("1000"); },
         {"A00003"},
         "該当 1件　合計 4,540円"},
        {"print dates",
         [&] {
             dialog.SearchText().clear();
             dialog.MinAmount().clear();
             dialog.FromDate().setDate(QDate(2026, 11, 1));
             dialog.ToDate().setDate(QDate(2026, 11, 30));
             dialog.ByDate().setChecked(true);
         },
         {"A00002"},
         "該当 1件　合計 900円"},
        {"no match", [&] { dialog.MaxAmount().setText("100"); }, {}, "該当 0件　合計 0円"},
    };
    for (const Case& c : cases) {
        c.set();
        EXPECT_EQ(Column(table, CApplyHistoryDlg::Number), c.ids) << c.name;
        EXPECT_EQ(dialog.SummaryLabel().text(), QString::fromUtf8(c.summary)) << c.name;
    }
    EXPECT_FALSE(dialog.ExportButton().isEnabled()); // nothing listed
    dialog.MaxAmount().clear();
    dialog.ExportButton().click();
    EXPECT_EQ(exported, std::vector<QString>{"A00002"});
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].startsWith("申請 1 件を /archive に書き出しました"))
        << prompts.asked[0].toStdString();
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
    EXPECT_EQ(dialog.Table().item(0, CApplyHistoryDlg::State)->text(), "保留");
    EXPECT_EQ(dialog.Table().item(1, CApplyHistoryDlg::State)->text(), "");
    EXPECT_TRUE(dialog.ProblemLabel().isHidden());
    EXPECT_TRUE(dialog.RepairButton().isHidden());
}
