#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "CEditEx.h"
#include "CEntryEditDlg.h"
#include "CListCtrlEx.h"
#include "ClaimRules.h"
#include "ClaimTotal.h"
#include "EntryTableModel.h"
#include "ListColumns.h"
#include "ListedLinesModel.h"
#include "LocalTime.h"
#include "ScriptedPrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace
{
EntryInfo Line(int fare, int process = 0x01, int serial = 0, int day = 1, int terminal = 0x16)
{
    EntryInfo line;
    line.terminalType = static_cast<std::uint8_t>(terminal);
    line.processType = static_cast<std::uint8_t>(process);
    line.fare = fare;
    line.serialNumber = serial;
    line.applyFlag = fare > 0 ? 1 : 0;
    line.dateTime = *LocalToTimestamp(2024, 4, day, 0, 0, 0);
    line.exitStationName = QStringLiteral("駅%1").arg(serial);
    return line;
}

EntryInfo Manual(int fare, int serial = 0)
{
    EntryInfo line = EntryInfo::ManualLine(*LocalToTimestamp(2024, 4, 1, 9, 0, 0));
    line.fare = fare;
    line.serialNumber = serial;
    line.applyFlag = fare != 0 ? 1 : 0;
    line.exitStationName = QStringLiteral("手%1").arg(serial);
    return line;
}

class FormTest : public ::testing::Test
{
protected:
    FormTest() : doc(settings)
    {
        settings.TransitURL = QStringLiteral("https://example.invalid/?a=入場駅");
        settings.VisMaxCount = 5;
    }

    // The claim's lines, read into the form as a file would be.
    void Open(std::vector<EntryInfo> lines)
    {
        EntryLines owned;
        for (EntryInfo& line : lines)
            owned.push_back(std::make_unique<EntryInfo>(std::move(line)));
        doc.ReplaceLines(std::move(owned));
    }

    CCorvaneForm& Form()
    {
        if (!form) {
            form = std::make_unique<CCorvaneForm>(doc, settings, prompts);
            form->SetLineEditor([this](const CCorvaneForm::EditRequest& request) {
                requests.push_back(
                    {request.templateLine, request.manualLine, request.routeTemplate});
                if (!editorAnswer)
                    return std::optional<EntryInfo>();
                EntryInfo result = request.line;
                editorAnswer(result);
                return std::optional<EntryInfo>(result);
            });
        }
        return *form;
    }

    // The listed rows' serial numbers, top to bottom.
    std::vector<int> Serials() const
    {
        std::vector<int> serials;
        for (int row = 0; row < form->RowCount(); ++row)
            serials.push_back(form->LineAt(row)->serialNumber);
        return serials;
    }

    // The document's lines' serial numbers, in its order.
    std::vector<int> DocumentSerials() const
    {
        std::vector<int> serials;
        for (const auto& line : doc.Lines())
            serials.push_back(line->serialNumber);
        return serials;
    }

public:
    struct Request {
        const EntryInfo* templateLine;
        bool manual;
        QString route;
    };

    AppSettings settings;
    CCorvaneDoc doc;
    ScriptedPrompts prompts;
    std::unique_ptr<CCorvaneForm> form;
    std::vector<Request> requests;
    std::function<void(EntryInfo&)> editorAnswer;
};
} // namespace

TEST_F(FormTest, ShowAllFilterMarksAndTotal)
{
    Form();
    EntryInfo issue = Line(500, 0x07, 4);
    issue.applyFlag = 1; // a stored mark the rule does not allow
    EntryInfo hidden = Line(300, 0x01, 6);
    hidden.hidden = 1;
    Open({Line(210, 0x01, 1), Line(-3000, 0x02, 2), Manual(0, 3), issue, Manual(1500, 5), hidden});
    EXPECT_TRUE(form->ShowAll());
    EXPECT_EQ(Serials(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(doc.Lines()[3]->applyFlag, 0); // the fill resets it
    EXPECT_FALSE(form->TotalText().isVisible());
    EXPECT_EQ(form->CheckedCount(), 2);

    form->ShowAllBox().click();
    EXPECT_EQ(Serials(), (std::vector<int>{1, 5}));
    EXPECT_TRUE(form->List().isColumnHidden(EntryTableModel::Balance));
    EXPECT_EQ(form->TotalText().text(), " 1,710円");

    // Unticking a row marks the claim modified and recounts.
    ASSERT_TRUE(
        form->Listed().setData(form->Listed().index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(form->TotalText().text(), "   210円");
    EXPECT_EQ(ClaimTotal::TextFor(1'000'000), "1000,000円");
    EXPECT_EQ(ClaimTotal::TextFor(0), "     0円");
}

TEST_F(FormTest, ClaimWhoseLinesAreAllFilteredCanStillBeShown)
{
    Form();
    Open({Line(-3000, 0x02, 1)});
    form->ShowAllBox().click(); // nothing left to list
    EXPECT_EQ(form->RowCount(), 0);
    EXPECT_TRUE(form->ShowAllBox().isEnabled());
}

TEST_F(FormTest, DateSortNewestFirstThenBack)
{
    Form();
    EntryInfo march = Line(100, 1, 9, 1);
    march.dateTime = *LocalToTimestamp(2024, 3, 30, 0, 0, 0);
    Open({Line(100, 1, 5, 2), Line(100, 1, 7, 2), march});
    form->SortByDate();
    EXPECT_EQ(Serials(), (std::vector<int>{7, 5, 9}));
    EXPECT_TRUE(doc.IsModified());
    form->SortByDate();
    EXPECT_EQ(Serials(), (std::vector<int>{9, 5, 7}));
}

TEST_F(FormTest, HeaderClicksSortByDateAndMarkAll)
{
    Form();
    Open({Line(100, 1, 5, 2), Line(100, 1, 7, 3)});
    form->resize(900, 300);
    form->show();
    QHeaderView* header = form->List().horizontalHeader();
    const auto click = [header](int section) {
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    click(EntryTableModel::Date);
    EXPECT_EQ(Serials(), (std::vector<int>{7, 5}));
    click(EntryTableModel::Print);
    EXPECT_EQ(form->CheckedCount(), 2);
    click(EntryTableModel::Print);
    EXPECT_EQ(form->CheckedCount(), 0);
}

TEST_F(FormTest, MovesFollowTheExamples)
{
    Form();
    std::vector<EntryInfo> lines;
    for (int i = 0; i < 8; ++i)
        lines.push_back(Line(100, 1, i));
    Open(lines);
    form->SelectRows({2, 5});
    ASSERT_TRUE(form->MoveSelectedUp());
    EXPECT_EQ(Serials(), (std::vector<int>{0, 2, 5, 1, 3, 4, 6, 7}));
    EXPECT_EQ(form->SelectedRows(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(doc.IsModified());

    Open(lines);
    form->SelectRows({2, 5});
    ASSERT_TRUE(form->MoveSelectedDown());
    EXPECT_EQ(Serials(), (std::vector<int>{0, 1, 3, 4, 6, 2, 5, 7}));

    // A drag reorders the claim like any move: a change that undo takes back.
    doc.UndoStack().setClean();
    form->DropRows({0, 1}, 3);
    EXPECT_EQ(Serials(), (std::vector<int>{3, 4, 0, 1, 6, 2, 5, 7}));
    EXPECT_EQ(form->SelectedRows(), (std::vector<int>{2, 3}));
    EXPECT_TRUE(doc.IsModified());
    doc.UndoStack().undo();
    EXPECT_EQ(Serials(), (std::vector<int>{0, 1, 3, 4, 6, 2, 5, 7}));
    EXPECT_FALSE(doc.IsModified());

    form->SelectRows({});
    EXPECT_FALSE(form->MoveSelectedUp());
}

TEST_F(FormTest, AddInsertsAboveTheSelectionWithATemplate)
{
    Form();
    Open({Line(100, 1, 1), Line(200, 1, 2)});
    editorAnswer = [](EntryInfo& line) {
        line.fare = 480;
        line.exitStationName = QStringLiteral("横浜");
        line.visitDestination = QStringLiteral("本社");
        line.serialNumber = 99;
    };
    form->SelectRows({});
    ASSERT_TRUE(form->AddLine());
    EXPECT_EQ(Serials(), (std::vector<int>{1, 2, 99}));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].templateLine, nullptr);
    EXPECT_TRUE(requests[0].manual);
    EXPECT_TRUE(requests[0].route.isEmpty());
    EXPECT_EQ(settings.VisHistry, QStringList{"本社"});
    EXPECT_EQ(settings.VisStation, QStringList{"横浜"});
    EXPECT_EQ(doc.Lines().size(), 3u);

    form->SelectRows({1});
    const EntryInfo* templateLine = form->LineAt(1);
    ASSERT_TRUE(form->AddLine());
    EXPECT_EQ(Serials(), (std::vector<int>{1, 99, 2, 99}));
    EXPECT_EQ(requests[1].templateLine, templateLine);
    EXPECT_EQ(form->SelectedRows(), std::vector<int>{1});

    editorAnswer = nullptr; // cancelled: nothing added
    EXPECT_FALSE(form->AddLine());
    EXPECT_EQ(doc.Lines().size(), 4u);
}

TEST_F(FormTest, EditRespectsTheApplyRule)
{
    Form();
    Open({Line(-3000, 0x02, 1), Line(210, 0x01, 2)});
    form->SelectRows({0});
    editorAnswer = [](EntryInfo& line) { line.remarks = QStringLiteral("変更"); };
    EXPECT_FALSE(form->EditSelected()); // a charge cannot be edited
    EXPECT_TRUE(requests.empty());

    form->SelectRows({1, 0});
    editorAnswer = [](EntryInfo& line) {
        line.visitDestination = QStringLiteral("支店");
        line.applyFlag = 1;
    };
    EXPECT_FALSE(form->EditSelected()); // the first selected row is the charge
    EXPECT_FALSE(doc.IsModified());
    form->SelectRows({1});
    ASSERT_TRUE(form->EditSelected());
    EXPECT_FALSE(requests[0].manual);
    EXPECT_EQ(requests[0].route, settings.TransitURL);
    EXPECT_EQ(doc.Lines()[1]->visitDestination, "支店");
    EXPECT_EQ(settings.FindVisitByStation("駅2"), "支店");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(FormTest, DeleteOnlyManualLinesAfterAskingOnce)
{
    Form();
    Open({Manual(100, 1), Line(200, 1, 2), Manual(300, 3), Manual(400, 4)});
    form->SelectRows({0, 1});
    EXPECT_FALSE(form->DeleteSelected());
    EXPECT_EQ(prompts.asked, QStringList{"カードの履歴情報は削除できません。"});
    EXPECT_EQ(form->RowCount(), 4);

    form->SelectRows({2, 3});
    prompts.answers = {Prompts::Answer::No};
    EXPECT_FALSE(form->DeleteSelected());
    EXPECT_EQ(form->RowCount(), 4);

    prompts.answers = {Prompts::Answer::Yes};
    ASSERT_TRUE(form->DeleteSelected());
    EXPECT_EQ(prompts.asked.size(), 3);
    EXPECT_EQ(prompts.asked.last(), "削除します。よろしいですか？");
    EXPECT_EQ(Serials(), (std::vector<int>{1, 2}));
    EXPECT_EQ(doc.Lines().size(), 2u);
    EXPECT_EQ(form->SelectedRows(), std::vector<int>{1}); // the new last row
}

TEST_F(FormTest, SetAllChecksWithSeveralRowsSelected)
{
    Form();
    Open({Line(100, 1, 1), Line(200, 1, 2), Line(-50, 2, 3), Line(300, 1, 4)});
    form->SelectRows({0, 2});
    form->SetAllChecks(false);
    // Selected rows get the state, the others its opposite; the charge keeps its own.
    EXPECT_EQ(doc.Lines()[0]->applyFlag, 0);
    EXPECT_EQ(doc.Lines()[1]->applyFlag, 1);
    EXPECT_EQ(doc.Lines()[2]->applyFlag, 0);
    EXPECT_EQ(doc.Lines()[3]->applyFlag, 1);
    form->SelectRows({0});
    form->SetAllChecks(true);
    EXPECT_EQ(form->CheckedCount(), 3);
}

TEST_F(FormTest, ColumnWidthsSetting)
{
    const auto widths = ListColumns::Parse("50,,90");
    EXPECT_EQ(widths[0], 50);
    EXPECT_EQ(widths[1], 90);
    EXPECT_EQ(widths[2], 120);
    EXPECT_EQ(widths[3], -1);
    EXPECT_EQ(widths[8], 80);

    settings.ListControlWidth = "40,70,130";
    Form();
    EXPECT_EQ(form->List().columnWidth(2), 130);
    form->SaveColumnWidths();
    EXPECT_TRUE(settings.ListControlWidth.startsWith("40,70,130,"));
    EXPECT_EQ(settings.ListControlWidth.count(','), 11);
}

TEST_F(FormTest, SavingAfterReorderingAFilteredListLosesNothing)
{
    QTemporaryDir dir;
    Form();
    EntryInfo hidden = Line(999, 1, 9);
    hidden.hidden = 1;
    Open({Line(100, 1, 1), Line(-3000, 2, 2), Line(200, 1, 3), hidden, Line(300, 1, 4)});
    form->ShowAllBox().click(); // lists 1, 3, 4
    form->SelectRows({2});
    ASSERT_TRUE(form->MoveSelectedUp());
    form->SelectRows({1});
    ASSERT_TRUE(form->MoveSelectedUp()); // 4, 1, 3
    QString error;
    ASSERT_TRUE(doc.Save(dir.filePath("c.ent"), &error)) << error.toStdString();

    CCorvaneDoc reopened(settings);
    ASSERT_TRUE(reopened.Load(dir.filePath("c.ent"), &error));
    std::vector<int> serials;
    for (const auto& line : reopened.Data().lines)
        serials.push_back(line->serialNumber);
    // The charge follows the line it followed, the hidden line too.
    EXPECT_EQ(serials, (std::vector<int>{4, 1, 2, 3, 9}));
}

TEST_F(FormTest, ClaimReadBeforeTheFormExistsIsShown)
{
    Open({Line(100, 1, 1)}); // nobody listens yet
    Form();
    EXPECT_EQ(form->RowCount(), 1);
    EXPECT_EQ(form->List().currentIndex().row(), 0);
}

// 全て表示 is a filter of the view: undo across a refill changes the
// document, and the list still shows only what the filter lets through.
TEST_F(FormTest, UndoAcrossAFilterChangeKeepsTheFilter)
{
    Form();
    Open({Line(100, 1, 1), Line(-3000, 2, 2), Manual(400, 3)});
    form->SelectRows({2});
    prompts.answers = {Prompts::Answer::Yes};
    ASSERT_TRUE(form->DeleteSelected());
    form->ShowAllBox().click(); // unticked: no charge listed
    EXPECT_EQ(Serials(), (std::vector<int>{1}));
    doc.UndoStack().undo();
    EXPECT_EQ(Serials(), (std::vector<int>{1, 3}));
    EXPECT_EQ(form->TotalText().text(), "   500円");
    EXPECT_EQ(form->CheckedTotal(), 500);
}

// The form changes nothing behind the document: two views of one claim stay
// in step, and closing one loses nothing.
TEST_F(FormTest, TwoViewsOfOneClaimStayInStep)
{
    Form();
    Open({Line(100, 1, 1), Line(200, 1, 2), Manual(300, 3)});
    auto second = std::make_unique<CCorvaneForm>(doc, settings, prompts);
    form->SelectRows({2});
    ASSERT_TRUE(form->MoveSelectedUp());
    form->ToggleCurrentMark();
    EXPECT_EQ(DocumentSerials(), (std::vector<int>{1, 3, 2}));
    std::vector<int> other;
    for (int row = 0; row < second->RowCount(); ++row)
        other.push_back(second->LineAt(row)->serialNumber);
    EXPECT_EQ(other, (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(second->CheckedCount(), 2);
    second.reset();
    EXPECT_EQ(DocumentSerials(), (std::vector<int>{1, 3, 2}));
    doc.UndoStack().undo();
    doc.UndoStack().undo();
    EXPECT_EQ(Serials(), (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(doc.IsModified());
}

// The month's job without the mouse: the list has the focus on a current
// line, Space ticks it from any cell, Enter edits it, Tab leaves the list.
TEST_F(FormTest, KeyboardAlone)
{
    Form();
    form->show();
    Open({Line(100, 1, 1), Line(200, 1, 2), Line(300, 1, 3)});
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->List().hasFocus(); }));
    EXPECT_EQ(form->List().currentIndex().row(), 0);

    QTest::keyClick(&form->List(), Qt::Key_Down);
    QTest::keyClick(&form->List(), Qt::Key_Right); // a cell of another column
    QTest::keyClick(&form->List(), Qt::Key_Right);
    ASSERT_NE(form->List().currentIndex().column(), EntryTableModel::Print);
    QTest::keyClick(&form->List(), Qt::Key_Space);
    EXPECT_EQ(doc.Lines()[1]->applyFlag, 0);
    EXPECT_TRUE(doc.IsModified());
    QTest::keyClick(&form->List(), Qt::Key_Space);
    EXPECT_EQ(doc.Lines()[1]->applyFlag, 1);

    editorAnswer = [](EntryInfo& line) { line.remarks = QStringLiteral("打合せ"); };
    QTest::keyClick(&form->List(), Qt::Key_Return);
    QTest::keyClick(&form->List(), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(doc.Lines()[1]->remarks, "打合せ");

    QTest::keyClick(&form->List(), Qt::Key_Tab);
    EXPECT_TRUE(form->CardButton().hasFocus());
    QTest::keyClick(&form->CardButton(), Qt::Key_Tab);
    EXPECT_TRUE(form->ShowAllBox().hasFocus());
    EXPECT_EQ(form->ShowAllBox().text(), "全て表示(&A)");
}

namespace
{
// What an undo must give back exactly: the claim's lines (content and order)
// and whether it is modified.
struct ClaimState {
    std::vector<EntryInfo> lines;
    bool modified;
    bool operator==(const ClaimState&) const = default;
};

ClaimState StateOf(const CCorvaneDoc& doc)
{
    ClaimState state{{}, doc.IsModified()};
    for (const auto& line : doc.Lines())
        state.lines.push_back(*line);
    return state;
}
} // namespace

TEST_F(FormTest, EveryEditUndoesAndRedoesExactly)
{
    struct Case {
        const char* name;
        std::function<void(FormTest&)> edit;
    };
    const Case cases[] = {
        {"untick",
         [](FormTest& t) {
             t.form->Listed().setData(t.form->Listed().index(1, 0), Qt::Unchecked,
                                      Qt::CheckStateRole);
         }},
        {"all ticks",
         [](FormTest& t) {
             t.form->SelectRows({0});
             t.form->SetAllChecks(false);
         }},
        {"move up",
         [](FormTest& t) {
             t.form->SelectRows({2, 3});
             t.form->MoveSelectedUp();
         }},
        {"move down",
         [](FormTest& t) {
             t.form->SelectRows({0});
             t.form->MoveSelectedDown();
         }},
        {"drag",
         [](FormTest& t) {
             t.form->DropRows({0, 1}, 3);
         }},
        {"date sort", [](FormTest& t) { t.form->SortByDate(); }},
        {"add",
         [](FormTest& t) {
             t.editorAnswer = [](EntryInfo& l) { l.fare = 777; };
             t.form->SelectRows({1});
             t.form->AddLine();
         }},
        {"edit",
         [](FormTest& t) {
             t.editorAnswer = [](EntryInfo& l) { l.remarks = QStringLiteral("変更後"); };
             t.form->SelectRows({3});
             t.form->EditSelected();
         }},
        {"delete",
         [](FormTest& t) {
             t.prompts.answers = {Prompts::Answer::Yes};
             t.form->SelectRows({3, 4});
             t.form->DeleteSelected();
         }},
        {"several, across a filter change",
         [](FormTest& t) {
             t.form->SelectRows({4});
             t.form->MoveSelectedUp();
             t.form->ShowAllBox().click();
             t.prompts.answers = {Prompts::Answer::Yes};
             t.form->SelectRows({0});
             t.form->DeleteSelected();
             t.form->SortByDate();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form();
        Open({Line(100, 1, 1, 3), Line(200, 1, 2, 1), Line(300, 1, 3, 2), Manual(400, 4),
              Manual(500, 5)});
        const ClaimState opened = StateOf(doc);
        ASSERT_FALSE(opened.modified);
        c.edit(*this);
        const ClaimState edited = StateOf(doc);
        ASSERT_NE(edited, opened);
        EXPECT_TRUE(edited.modified);
        while (doc.UndoStack().canUndo())
            doc.UndoStack().undo();
        EXPECT_EQ(StateOf(doc), opened); // back to the opened claim: unmodified
        while (doc.UndoStack().canRedo())
            doc.UndoStack().redo();
        EXPECT_EQ(StateOf(doc), edited);
        form.reset();
        requests.clear();
    }
}

// The period filters the list and its total; 今月 and 先月 follow the day.
TEST_F(FormTest, PeriodFiltersTheListAndItsTotal)
{
    Form();
    const auto on = [](int month, int day, int fare, int serial) {
        EntryInfo line = Manual(fare, serial);
        line.dateTime = *LocalToTimestamp(2026, month, day, 12, 0, 0);
        return line;
    };
    Open({on(10, 31, 100, 1), on(11, 1, 200, 2), on(11, 30, 400, 3), on(12, 1, 800, 4)});
    form->SetToday([] { return QDate(2026, 12, 10); });
    const struct {
        CCorvaneForm::Period period;
        QDate from, to;
        std::vector<int> serials;
        std::int64_t total;
    } cases[] = {
        {CCorvaneForm::Period::LastMonth, {}, {}, {2, 3}, 600},
        {CCorvaneForm::Period::ThisMonth, {}, {}, {4}, 800},
        {CCorvaneForm::Period::Range, QDate(2026, 10, 31), QDate(2026, 11, 1), {1, 2}, 300},
        {CCorvaneForm::Period::All, {}, {}, {1, 2, 3, 4}, 1500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(form->PeriodBox().itemText(static_cast<int>(c.period)).toStdString());
        form->SetPeriod(c.period, c.from, c.to);
        EXPECT_EQ(Serials(), c.serials);
        EXPECT_EQ(form->CheckedTotal(), c.total);
        EXPECT_EQ(form->ToEdit().isVisibleTo(form.get()), c.period == CCorvaneForm::Period::Range);
    }
    // A new claim keeps the period the user chose.
    form->SetPeriod(CCorvaneForm::Period::LastMonth);
    Open({on(11, 5, 300, 5), on(12, 5, 300, 6)});
    EXPECT_EQ(Serials(), std::vector<int>{5});
}

// A trip a recorded application holds shows the day it was claimed, is not
// marked by "mark all", and is marked again only after the user's yes.
TEST_F(FormTest, ClaimedTripsAreMarkedAgainOnlyWhenTheUserSaysSo)
{
    QTemporaryDir dir;
    settings.DefaultPath = dir.path();
    Form();
    Open({Line(210, 1, 1), Line(480, 1, 2)});
    ASSERT_TRUE(doc.RecordApplication({doc.Lines()[0].get()}));
    doc.SetMarks({{0, false}, {1, false}}, QStringLiteral("untick"));
    const QString today = QDate::currentDate().toString("yyyy/MM/dd");
    EXPECT_EQ(form->Listed().index(0, EntryTableModel::Applied).data().toString(), today);
    EXPECT_TRUE(form->Listed().index(1, EntryTableModel::Applied).data().toString().isEmpty());
    EXPECT_EQ(form->List().horizontalHeader()->visualIndex(EntryTableModel::Applied), 1);

    form->SetAllChecks(true);
    EXPECT_EQ(doc.Lines()[0]->applyFlag, 0);
    EXPECT_EQ(doc.Lines()[1]->applyFlag, 1);
    EXPECT_TRUE(prompts.asked.isEmpty());

    const QModelIndex mark = form->Listed().index(0, EntryTableModel::Print);
    prompts.answers = {Prompts::Answer::No};
    EXPECT_FALSE(form->Listed().setData(mark, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(prompts.asked.value(0),
              QStringLiteral("この明細は申請済みです（%1）。もう一度申請しますか？").arg(today));
    EXPECT_EQ(doc.Lines()[0]->applyFlag, 0);
    prompts.answers = {Prompts::Answer::Yes};
    form->SelectRows({0});
    form->ToggleCurrentMark(); // Space asks the same
    EXPECT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(doc.Lines()[0]->applyFlag, 1);
}

// A trip another program claims while the claim is open is known when the
// user ticks it, and marking everything passes it by.
TEST_F(FormTest, TickingReadsTheHistoryAnotherProgramWrote)
{
    QTemporaryDir dir;
    settings.DefaultPath = dir.path();
    Form();
    Open({Line(210, 1, 1), Line(480, 1, 2)});
    doc.SetMarks({{0, false}, {1, false}}, QStringLiteral("untick"));
    EXPECT_FALSE(doc.AppliedOn(*doc.Lines()[0])); // the history as first read

    CCorvaneDoc other(settings); // the command line, a second session
    EntryLines copy;
    copy.push_back(std::make_unique<EntryInfo>(*doc.Lines()[0]));
    other.ReplaceLines(std::move(copy));
    ASSERT_TRUE(other.RecordApplication({other.Lines()[0].get()}));

    form->SetAllChecks(true);
    EXPECT_EQ(doc.Lines()[0]->applyFlag, 0);
    EXPECT_EQ(doc.Lines()[1]->applyFlag, 1);
    prompts.answers = {Prompts::Answer::No};
    const QModelIndex mark = form->Listed().index(0, EntryTableModel::Print);
    EXPECT_FALSE(form->Listed().setData(mark, Qt::Checked, Qt::CheckStateRole));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].startsWith("この明細は申請済みです"));
}

// A claim of two cards shows which card each line came from: the name the
// user gave it, else its ID's last digits.
TEST_F(FormTest, TheCardColumnNamesTheCardOfEachLine)
{
    EntryInfo commute = Line(210, 1, 1);
    commute.idm = {0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x39, 0x06};
    EntryInfo phone = Line(480, 1, 2);
    phone.idm = {0x01, 0x2E, 0x44, 0x71, 0x08, 0x9C, 0x10, 0x22};
    Form();
    Open({commute, Manual(300, 3)});
    EXPECT_TRUE(form->List().isColumnHidden(EntryTableModel::Card));

    doc.AppendLines(
        [&] {
            EntryLines read;
            read.push_back(std::make_unique<EntryInfo>(phone));
            return read;
        }(),
        QStringLiteral("カード読込"));
    EXPECT_FALSE(form->List().isColumnHidden(EntryTableModel::Card));
    const auto card = [&](int row) {
        return form->Listed().index(row, EntryTableModel::Card).data().toString();
    };
    EXPECT_EQ(card(0), "****3906");
    EXPECT_EQ(card(1), ""); // a line by hand
    EXPECT_EQ(card(2), "****1022");
    settings.SetCardName("011402123A4B3906", QStringLiteral("通勤用 Suica"));
    form->CardNamesChanged();
    EXPECT_EQ(card(0), "通勤用 Suica");
    doc.UndoStack().undo();
    EXPECT_TRUE(form->List().isColumnHidden(EntryTableModel::Card));
}

namespace
{
// Answers the entry dialog the form opens (modal) and closes it with OK.
void AnswerEntryDialog(std::function<void(CEntryEditDlg&)> answer)
{
    QTimer::singleShot(0, [answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<CEntryEditDlg*>(modal);
        if (!dialog) {
            ADD_FAILURE() << "no entry dialog";
            if (auto* other = qobject_cast<QDialog*>(modal))
                other->reject();
            return;
        }
        answer(*dialog);
        dialog->accept();
    });
}
} // namespace

// The entry dialog gives the line back with the mark the user left on it.
TEST_F(FormTest, TheEntryDialogKeepsTheUsersMark)
{
    Open({Line(210, 0x01, 1), Manual(300, 2)});
    doc.SetMarks({{0, false}, {1, false}}, QStringLiteral("untick"));
    CCorvaneForm real(doc, settings, prompts);
    for (int row : {0, 1}) {
        real.SelectRows({row});
        AnswerEntryDialog([](CEntryEditDlg& dialog) {
            dialog.VisitCombo()->setEditText(QStringLiteral("本社"));
        });
        ASSERT_TRUE(real.EditSelected()) << row;
        EXPECT_EQ(doc.Lines()[static_cast<std::size_t>(row)]->visitDestination, "本社");
        EXPECT_EQ(doc.Lines()[static_cast<std::size_t>(row)]->applyFlag, 0) << row;
    }
    EXPECT_EQ(real.CheckedCount(), 0);
}

// A claimed line opens with what was claimed fixed and says why; its visit
// destination and remarks can still be changed.
TEST_F(FormTest, AClaimedLineOpensWithWhatWasClaimedFixed)
{
    QTemporaryDir dir;
    settings.DefaultPath = dir.path();
    EntryInfo manual = Manual(480, 1);
    manual.entryStationName = QStringLiteral("東京");
    Open({manual, Line(210, 0x0D, 2)}); // a bus: its stop names may be typed
    ASSERT_TRUE(doc.RecordApplication({doc.Lines()[0].get(), doc.Lines()[1].get()}));
    doc.SetMarks({{0, false}, {1, false}}, QStringLiteral("申請済みのチェックを外す"));
    CCorvaneForm real(doc, settings, prompts);
    const QDate today = QDate::currentDate();
    for (int row : {0, 1}) {
        real.SelectRows({row});
        AnswerEntryDialog([&](CEntryEditDlg& dialog) {
            EXPECT_FALSE(dialog.ClaimedText()->isHidden());
            EXPECT_EQ(dialog.ClaimedText()->text(), CEntryEditDlg::ClaimedNote(today));
            EXPECT_FALSE(dialog.DateEdit()->isEnabled());
            EXPECT_FALSE(dialog.FareEdit()->isEnabled());
            for (int i = 0; i < 6; ++i)
                EXPECT_FALSE(dialog.NameEdit(i)->isEnabled()) << row << " " << i;
            EXPECT_TRUE(dialog.VisitCombo()->isEnabled());
            EXPECT_TRUE(dialog.RemarksEdit()->isEnabled());
            EXPECT_EQ(dialog.focusWidget(), dialog.VisitCombo());
            dialog.RemarksEdit()->setText(QStringLiteral("再訪"));
        });
        ASSERT_TRUE(real.EditSelected()) << row;
        const EntryInfo& line = *doc.Lines()[static_cast<std::size_t>(row)];
        EXPECT_EQ(line.remarks, "再訪");
        EXPECT_EQ(line.applyFlag, 0);
        EXPECT_TRUE(doc.AppliedOn(line)) << row;
    }

    // A line never claimed opens as before.
    Open({Manual(480, 3)});
    real.SelectRows({0});
    AnswerEntryDialog([](CEntryEditDlg& dialog) {
        EXPECT_TRUE(dialog.ClaimedText()->isHidden());
        EXPECT_TRUE(dialog.NameEdit(5)->isEnabled());
        EXPECT_TRUE(dialog.FareEdit()->isEnabled());
    });
    ASSERT_TRUE(real.EditSelected());
    EXPECT_FALSE(doc.IsModified()); // OK without a change changes nothing
}

// Every key that moves the current line moves the highlight with it (Shift
// extends it), so Space and the commands act on the line the user sees.
TEST_F(FormTest, TheHighlightedLineIsTheOneKeysActOn)
{
    Form();
    form->resize(900, 600);
    form->show();
    Open({Line(100, 1, 1), Line(200, 1, 2), Line(300, 1, 3), Line(400, 1, 4), Line(500, 1, 5)});
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->List().hasFocus(); }));
    struct Case {
        const char* keys;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> presses;
        std::vector<int> highlighted;
    };
    const Case cases[] = {
        {"Ctrl+End", {{Qt::Key_End, Qt::ControlModifier}}, {4}},
        {"Ctrl+Home", {{Qt::Key_Home, Qt::ControlModifier}}, {0}},
        {"End", {{Qt::Key_End, Qt::NoModifier}}, {4}},
        {"Home", {{Qt::Key_Home, Qt::NoModifier}}, {0}},
        {"Ctrl+Down", {{Qt::Key_Down, Qt::ControlModifier}}, {3}},
        {"Ctrl+Up", {{Qt::Key_Up, Qt::ControlModifier}}, {1}},
        {"PageDown", {{Qt::Key_PageDown, Qt::NoModifier}}, {4}},
        {"Ctrl+PageUp", {{Qt::Key_PageUp, Qt::ControlModifier}}, {0}},
        {"Shift+Down", {{Qt::Key_Down, Qt::ShiftModifier}}, {2, 3}},
        {"Ctrl+Shift+End", {{Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier}}, {2, 3, 4}},
    };
    for (const Case& c : cases) {
        // The user clicked the third line.
        QTest::mouseClick(form->List().viewport(), Qt::LeftButton, {},
                          form->List().visualRect(form->Listed().index(2, 1)).center());
        ASSERT_EQ(form->SelectedRows(), std::vector<int>{2}) << c.keys;
        for (const auto& [key, modifiers] : c.presses)
            QTest::keyClick(&form->List(), key, modifiers);
        EXPECT_EQ(form->SelectedRows(), c.highlighted) << c.keys;
        EXPECT_EQ(form->List().currentIndex().row(), c.highlighted.back()) << c.keys;
    }

    // Space unticks what is highlighted, and only that.
    QTest::mouseClick(form->List().viewport(), Qt::LeftButton, {},
                      form->List().visualRect(form->Listed().index(2, 1)).center());
    QTest::keyClick(&form->List(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&form->List(), Qt::Key_Space);
    EXPECT_EQ(doc.Lines()[4]->applyFlag, 0);
    EXPECT_EQ(doc.Lines()[2]->applyFlag, 1);
    EXPECT_EQ(form->CheckedTotal(), 1000);
    // Several highlighted lines flip together, the current line's mark
    // deciding which way.
    QTest::keyClick(&form->List(), Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(&form->List(), Qt::Key_Space);
    EXPECT_EQ(doc.Lines()[3]->applyFlag, 0);
    EXPECT_EQ(doc.Lines()[4]->applyFlag, 0);
    QTest::keyClick(&form->List(), Qt::Key_Space);
    EXPECT_EQ(doc.Lines()[3]->applyFlag, 1);
    EXPECT_EQ(doc.Lines()[4]->applyFlag, 1);
}

// The access key of 全て表示 moves the focus to it and toggles it, so the
// next Space toggles it again and leaves the lines alone.
TEST_F(FormTest, TheAccessKeyOfShowAllTakesTheFocus)
{
    Form();
    form->show();
    Open({Line(100, 1, 1), Line(-3000, 0x02, 2)});
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->List().hasFocus(); }));
    ASSERT_TRUE(form->ShowAll());
    QTest::keyClick(form.get(), Qt::Key_A, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->ShowAll(); }));
    EXPECT_TRUE(form->ShowAllBox().hasFocus());
    QTest::keyClick(&form->ShowAllBox(), Qt::Key_Space);
    EXPECT_TRUE(form->ShowAll());
    EXPECT_EQ(doc.Lines()[0]->applyFlag, 1);
    // A click on the box gives the list the focus back.
    QTest::mouseClick(&form->ShowAllBox(), Qt::LeftButton, {}, form->ShowAllBox().rect().center());
    EXPECT_FALSE(form->ShowAll());
    EXPECT_TRUE(form->List().hasFocus());
}

// The oldest record of a read has no fare on the card: the list says 不明
// (and why), shows it as a journey, refuses to tick it with a word, and the
// entry dialog takes the fare, after which it is claimed like any other.
TEST_F(FormTest, AJourneyOfUnknownFareIsShownAndTakesItsFare)
{
    EntryInfo oldest = Line(0, 1, 1);
    oldest.fareUnknown = true;
    Form();
    Open({oldest, Line(200, 1, 2), Line(0, 1, 3)});
    form->ShowAllBox().click();
    EXPECT_EQ(Serials(), (std::vector<int>{1, 2}));
    const QModelIndex fare = form->Listed().index(0, EntryTableModel::Fare);
    EXPECT_EQ(fare.data().toString(), "不明");
    EXPECT_EQ(fare.data(Qt::ToolTipRole).toString(), EntryTableModel::UnknownFareTip());

    QSignalSpy status(form.get(), &CCorvaneForm::Status);
    form->SelectRows({0});
    form->ToggleCurrentMark();
    EXPECT_EQ(doc.Lines()[0]->applyFlag, 0);
    ASSERT_EQ(status.count(), 1);
    EXPECT_EQ(status[0][0].toString(), RefusalReason(oldest, Refusal::Tick));

    editorAnswer = [](EntryInfo& line) {
        line.fare = 160;
        line.fareUnknown = false;
        line.applyFlag = 1;
    };
    ASSERT_TRUE(form->EditSelected());
    EXPECT_EQ(doc.Lines()[0]->fare, 160);
    EXPECT_EQ(doc.Lines()[0]->applyFlag, 1);
    EXPECT_EQ(form->CheckedTotal(), 360);
}

// Space or Enter on a line that may not be ticked or edited says why.
TEST_F(FormTest, RefusedKeysSayWhy)
{
    Form();
    Open({Line(-3000, 0x02, 1), Line(150, 0x46, 2, 1, 0xC7), Line(0, 0x01, 3)});
    QSignalSpy status(form.get(), &CCorvaneForm::Status);
    const QString expected[] = {"チャージ（入金）の明細は申請できません。",
                                "物販の明細は申請できません。",
                                "運賃が 0 円の明細は申請できません。"};
    for (int row = 0; row < 3; ++row) {
        form->SelectRows({row});
        form->ToggleCurrentMark();
        EXPECT_EQ(status.takeLast()[0].toString(), expected[row]);
        EXPECT_FALSE(form->EditSelected());
        EXPECT_TRUE(status.takeLast()[0].toString().endsWith("編集できません。"));
    }
    EXPECT_FALSE(doc.IsModified());
}

// A card read under a new ID is one card everywhere: no カード column for it
// alone, one label beside another card's lines, one name.
TEST_F(FormTest, ACardReadUnderSeveralIdsIsOneCard)
{
    EntryInfo first = Line(210, 1, 1);
    first.idm = {0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x39, 0x06};
    EntryInfo again = Line(480, 1, 2);
    again.idm = {0x01, 0x2E, 0x44, 0x71, 0x08, 0x9C, 0x10, 0x22};
    EntryInfo other = Line(300, 1, 3);
    other.idm = {0x01, 0x01, 0x0A, 0x0B, 0x0C, 0x0D, 0x77, 0x41};
    Form();
    Open({first, again});
    EXPECT_FALSE(form->List().isColumnHidden(EntryTableModel::Card));
    doc.LinkCardIds({first.idm, again.idm});
    EXPECT_TRUE(form->List().isColumnHidden(EntryTableModel::Card));

    doc.AppendLines(
        [&] {
            EntryLines read;
            read.push_back(std::make_unique<EntryInfo>(other));
            return read;
        }(),
        QStringLiteral("カード読込"));
    const auto card = [&](int row) {
        return form->Listed().index(row, EntryTableModel::Card).data().toString();
    };
    EXPECT_FALSE(form->List().isColumnHidden(EntryTableModel::Card));
    EXPECT_EQ(card(0), "****3906");
    EXPECT_EQ(card(1), "****3906");
    EXPECT_EQ(card(2), "****7741");
    settings.SetCardName("012E4471089C1022", QStringLiteral("通勤用 Suica"));
    form->CardNamesChanged();
    EXPECT_EQ(card(0), "通勤用 Suica");
    EXPECT_EQ(card(1), "通勤用 Suica");
}
