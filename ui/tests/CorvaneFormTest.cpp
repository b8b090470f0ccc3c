#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "CListCtrlEx.h"
#include "EntryTableModel.h"
#include "LocalTime.h"
#include "ScriptedPrompts.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
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
        doc.Data().lines.clear();
        for (EntryInfo& line : lines)
            doc.Data().lines.push_back(std::make_unique<EntryInfo>(std::move(line)));
        Q_EMIT doc.Updated(CCorvaneDoc::HintRefill);
        doc.SetModified(false);
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

    std::vector<int> Serials() const
    {
        std::vector<int> serials;
        for (const EntryInfo* line : form->Model().Rows())
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
    EXPECT_EQ(doc.Data().lines[3]->applyFlag, 0); // the fill resets it
    EXPECT_FALSE(form->TotalText().isVisible());
    EXPECT_EQ(form->CheckedCount(), 2);

    form->ShowAllBox().click();
    EXPECT_EQ(Serials(), (std::vector<int>{1, 5}));
    EXPECT_TRUE(form->List().isColumnHidden(EntryTableModel::Balance));
    EXPECT_EQ(form->TotalText().text(), " 1,710円");

    // Unticking a row marks the claim modified and recounts.
    ASSERT_TRUE(
        form->Model().setData(form->Model().index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(form->TotalText().text(), "   210円");
    EXPECT_EQ(CCorvaneForm::TotalTextFor(1'000'000), "1000,000円");
    EXPECT_EQ(CCorvaneForm::TotalTextFor(0), "     0円");
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
    Open({Line(100, 1, 5, 2), Line(100, 1, 7, 2), Line(100, 1, 9, 30 - 29)});
    doc.Data().lines[2]->dateTime = *LocalToTimestamp(2024, 3, 30, 0, 0, 0);
    Q_EMIT doc.Updated(CCorvaneDoc::HintRefill);
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

    // A drag reorders without marking the claim modified.
    doc.SetModified(false);
    form->DropRows({0, 1}, 3);
    EXPECT_EQ(Serials(), (std::vector<int>{3, 4, 0, 1, 6, 2, 5, 7}));
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
    EXPECT_EQ(doc.Data().lines.size(), 3u);

    form->SelectRows({1});
    ASSERT_TRUE(form->AddLine());
    EXPECT_EQ(Serials(), (std::vector<int>{1, 99, 2, 99}));
    EXPECT_EQ(requests[1].templateLine, doc.Data().lines[1].get());
    EXPECT_EQ(form->SelectedRows(), std::vector<int>{1});

    editorAnswer = nullptr; // cancelled: nothing added
    EXPECT_FALSE(form->AddLine());
    EXPECT_EQ(doc.Data().lines.size(), 4u);
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
    doc.SetModified(false);
    EXPECT_FALSE(form->EditSelected()); // the first selected row is the charge
    form->SelectRows({1});
    ASSERT_TRUE(form->EditSelected());
    EXPECT_FALSE(requests[0].manual);
    EXPECT_EQ(requests[0].route, settings.TransitURL);
    EXPECT_EQ(doc.Data().lines[1]->visitDestination, "支店");
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
    EXPECT_EQ(doc.Data().lines.size(), 2u);
    EXPECT_EQ(form->SelectedRows(), std::vector<int>{1}); // the new last row
}

TEST_F(FormTest, SetAllChecksWithSeveralRowsSelected)
{
    Form();
    Open({Line(100, 1, 1), Line(200, 1, 2), Line(-50, 2, 3), Line(300, 1, 4)});
    form->SelectRows({0, 2});
    form->SetAllChecks(false);
    // Selected rows get the state, the others its opposite; the charge keeps its own.
    EXPECT_EQ(doc.Data().lines[0]->applyFlag, 0);
    EXPECT_EQ(doc.Data().lines[1]->applyFlag, 1);
    EXPECT_EQ(doc.Data().lines[2]->applyFlag, 0);
    EXPECT_EQ(doc.Data().lines[3]->applyFlag, 1);
    form->SelectRows({0});
    form->SetAllChecks(true);
    EXPECT_EQ(form->CheckedCount(), 3);
}

TEST_F(FormTest, ColumnWidthsSetting)
{
    const auto widths = CCorvaneForm::ParseColumnWidths("50,,90");
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
    doc.Data().lines.push_back(std::make_unique<EntryInfo>(Line(100, 1, 1)));
    Q_EMIT doc.Updated(CCorvaneDoc::HintRefill); // nobody listens yet
    Form();
    EXPECT_EQ(form->RowCount(), 1);
    form->RebuildDocumentLines();
    EXPECT_EQ(doc.Data().lines.size(), 1u);
}

namespace
{
// What an undo must give back exactly: the claim's lines (content and order
// in the list) and whether it is modified.
struct ClaimState {
    std::vector<EntryInfo> rows;
    std::size_t lines;
    bool modified;
    bool operator==(const ClaimState&) const = default;
};

ClaimState StateOf(const CCorvaneForm& form, const CCorvaneDoc& doc)
{
    ClaimState state{{}, doc.Data().lines.size(), doc.IsModified()};
    for (const EntryInfo* line : form.Model().Rows())
        state.rows.push_back(*line);
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
             t.form->Model().setData(t.form->Model().index(1, 0), Qt::Unchecked,
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
        {"several",
         [](FormTest& t) {
             t.form->SelectRows({4});
             t.form->MoveSelectedUp();
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
        const ClaimState opened = StateOf(*form, doc);
        ASSERT_FALSE(opened.modified);
        c.edit(*this);
        const ClaimState edited = StateOf(*form, doc);
        ASSERT_NE(edited, opened);
        EXPECT_TRUE(edited.modified);
        while (form->UndoStack().canUndo())
            form->UndoStack().undo();
        EXPECT_EQ(StateOf(*form, doc), opened); // back to the opened claim: unmodified
        while (form->UndoStack().canRedo())
            form->UndoStack().redo();
        EXPECT_EQ(StateOf(*form, doc), edited);
        form.reset();
        requests.clear();
    }
}

TEST_F(FormTest, UndoingBackToTheSaveClearsTheModifiedMark)
{
    Form();
    Open({Line(100, 1, 1), Line(200, 1, 2)});
    form->SelectRows({1});
    form->MoveSelectedUp();
    form->MarkSaved(); // saved here
    EXPECT_FALSE(doc.IsModified());
    form->SortByDate();
    EXPECT_TRUE(doc.IsModified());
    form->UndoStack().undo();
    EXPECT_FALSE(doc.IsModified());
    form->UndoStack().undo(); // before the save: modified again
    EXPECT_TRUE(doc.IsModified());
}
