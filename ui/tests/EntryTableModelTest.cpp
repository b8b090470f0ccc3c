#include "EntryTableModel.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "ListedLinesModel.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QFont>
#include <gtest/gtest.h>

namespace
{
std::unique_ptr<EntryInfo> Card(int fare, int process = 0x01, int terminal = 0x16)
{
    auto line = std::make_unique<EntryInfo>();
    line->terminalType = static_cast<std::uint8_t>(terminal);
    line->processType = static_cast<std::uint8_t>(process);
    line->fare = fare;
    line->serialNumber = fare;
    line->balance = 1234567;
    line->applyFlag = fare > 0 && terminal != 0xC7 ? 1 : 0;
    return line;
}

EntryLines Lines(std::initializer_list<int> fares)
{
    EntryLines lines;
    for (int fare : fares)
        lines.push_back(fare < 0 ? Card(fare, 0x02) : Card(fare));
    return lines;
}

std::vector<int> Fares(const QAbstractItemModel& model)
{
    std::vector<int> fares;
    for (int row = 0; row < model.rowCount(); ++row)
        fares.push_back(
            model.index(row, EntryTableModel::Fare).data().toString().remove(',').toInt());
    return fares;
}

class EntryTableModelTest : public ::testing::Test
{
protected:
    EntryTableModelTest()
        : doc(settings), model(doc), listed(doc),
          tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal),
          listedTester(&listed, QAbstractItemModelTester::FailureReportingMode::Fatal)
    {
        listed.setSourceModel(&model);
    }

    AppSettings settings;
    CCorvaneDoc doc;
    EntryTableModel model;
    ListedLinesModel listed;
    QAbstractItemModelTester tester;
    QAbstractItemModelTester listedTester;
};
} // namespace

TEST_F(EntryTableModelTest, CellsAndTheCheckRules)
{
    EntryLines lines;
    lines.push_back(Card(210));
    lines.push_back(Card(-3000, 0x02));
    lines.push_back(Card(0));
    lines.push_back(Card(120, 0x46, 0xC7));
    doc.ReplaceLines(std::move(lines));
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.columnCount(), 14);
    EXPECT_EQ(model.headerData(8, Qt::Horizontal, Qt::DisplayRole).toString(), "料金/入金額");
    // Amounts grouped by thousands, right-aligned; a charge with its sign.
    EXPECT_EQ(model.index(1, EntryTableModel::Fare).data().toString(), "-3,000");
    EXPECT_EQ(model.index(0, EntryTableModel::Balance).data().toString(), "1,234,567");
    const auto horizontal = [&](int column) {
        return model.index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(horizontal(EntryTableModel::Fare), Qt::AlignRight);
    EXPECT_EQ(horizontal(EntryTableModel::Remarks), Qt::AlignLeft);

    const auto check = [&](int row, Qt::CheckState state) {
        return model.setData(model.index(row, 0), state, Qt::CheckStateRole);
    };
    EXPECT_TRUE(check(0, Qt::Unchecked));
    EXPECT_EQ(doc.Lines()[0]->applyFlag, 0);
    EXPECT_EQ(doc.UndoStack().undoText(), "チェックを外す");
    EXPECT_FALSE(check(1, Qt::Checked));  // a charge may not be claimed
    EXPECT_FALSE(check(2, Qt::Checked));  // nor a card line with fare 0
    EXPECT_FALSE(check(3, Qt::Checked));  // nor a shop purchase
    EXPECT_TRUE(check(3, Qt::Unchecked)); // no change is always allowed
    EXPECT_EQ(doc.UndoStack().count(), 1);
    EXPECT_EQ(model.index(0, 3).data(Qt::ForegroundRole).value<QBrush>().color(),
              QColor(128, 128, 128));
}

// The rows are the document's lines in its order, whatever changes them.
TEST_F(EntryTableModelTest, RowsFollowEveryChangeOfTheDocument)
{
    doc.ReplaceLines(Lines({100, 200, -3000, 300, 400}));
    listed.SetFilter(ClaimFilter{false});
    EXPECT_EQ(Fares(listed), (std::vector<int>{100, 200, 300, 400}));

    doc.Reorder({4, 3, 2, 1, 0}, "x");
    EXPECT_EQ(Fares(model), (std::vector<int>{400, 300, -3000, 200, 100}));
    EXPECT_EQ(Fares(listed), (std::vector<int>{400, 300, 200, 100}));
    doc.RemoveLines({0, 3});
    EXPECT_EQ(Fares(listed), (std::vector<int>{300, 100}));
    doc.InsertLine(1, Card(500));
    EXPECT_EQ(Fares(listed), (std::vector<int>{300, 500, 100}));
    EXPECT_EQ(listed.Position(1), 1u);
    EXPECT_EQ(listed.RowOfPosition(2), -1); // the charge is filtered out

    // Undo brings back exactly the document's lines; the filter still holds.
    while (doc.UndoStack().canUndo())
        doc.UndoStack().undo();
    EXPECT_EQ(Fares(model), (std::vector<int>{100, 200, -3000, 300, 400}));
    EXPECT_EQ(Fares(listed), (std::vector<int>{100, 200, 300, 400}));
    listed.SetFilter(ClaimFilter{true});
    EXPECT_EQ(listed.rowCount(), 5);
}

// A visit destination the import suggested shows grey and italic, and says
// so, until the user confirms it; what the user typed shows as usual.
TEST_F(EntryTableModelTest, SuggestedVisitsShowAsSuggestions)
{
    EntryLines lines = Lines({200, 300});
    lines[0]->visitDestination = QStringLiteral("本社");
    lines[0]->visitSuggested = true;
    lines[1]->visitDestination = QStringLiteral("支店");
    doc.ReplaceLines(std::move(lines));
    const QModelIndex suggested = model.index(0, EntryTableModel::Visit);
    const QModelIndex typed = model.index(1, EntryTableModel::Visit);
    EXPECT_EQ(suggested.data().toString(), "本社");
    EXPECT_TRUE(suggested.data(Qt::FontRole).value<QFont>().italic());
    EXPECT_EQ(suggested.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(128, 128, 128));
    EXPECT_EQ(suggested.data(Qt::ToolTipRole).toString(), EntryTableModel::SuggestionTip("本社"));
    EXPECT_FALSE(model.index(0, EntryTableModel::Remarks).data(Qt::FontRole).isValid());
    EXPECT_FALSE(typed.data(Qt::FontRole).isValid());
    EXPECT_FALSE(typed.data(Qt::ForegroundRole).isValid());

    int changed = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         changed += from.row() <= 0 && to.row() >= 0 ? 1 : 0;
                     });
    ASSERT_TRUE(doc.ConfirmVisits({0, 1}));
    EXPECT_GT(changed, 0);
    EXPECT_FALSE(suggested.data(Qt::FontRole).isValid());
    EXPECT_EQ(suggested.data(Qt::ToolTipRole).toString(), "本社");
}
