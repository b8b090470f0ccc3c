#include "EntryTableModel.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

namespace
{
EntryInfo Card(int fare, int process = 0x01, int terminal = 0x16)
{
    EntryInfo line;
    line.terminalType = static_cast<std::uint8_t>(terminal);
    line.processType = static_cast<std::uint8_t>(process);
    line.fare = fare;
    line.balance = 1234567;
    line.applyFlag = fare > 0 && terminal != 0xC7 ? 1 : 0;
    return line;
}
} // namespace

TEST(EntryTableModel, RowsFollowTheLinesAndTheCheckRules)
{
    std::vector<EntryInfo> lines = {Card(210), Card(-3000, 0x02), Card(0), Card(120, 0x46, 0xC7)};
    EntryTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::vector<EntryInfo*> rows;
    for (EntryInfo& line : lines)
        rows.push_back(&line);
    model.SetRows(rows);
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.columnCount(), 12);
    EXPECT_EQ(model.headerData(8, Qt::Horizontal, Qt::DisplayRole).toString(), "料金/入金額");

    // The fare shows as its absolute value; the balance with one separator.
    EXPECT_EQ(model.index(1, EntryTableModel::Fare).data().toString(), " 3,000");
    EXPECT_EQ(model.index(0, EntryTableModel::Balance).data().toString(), "1234,567");

    int changes = 0;
    QObject::connect(&model, &EntryTableModel::CheckChanged, [&] { ++changes; });
    const auto check = [&](int row, Qt::CheckState state) {
        return model.setData(model.index(row, 0), state, Qt::CheckStateRole);
    };
    EXPECT_TRUE(check(0, Qt::Unchecked));
    EXPECT_EQ(lines[0].applyFlag, 0);
    EXPECT_FALSE(check(1, Qt::Checked));  // a charge may not be claimed
    EXPECT_FALSE(check(2, Qt::Checked));  // nor a card line with fare 0
    EXPECT_FALSE(check(3, Qt::Checked));  // nor a shop purchase
    EXPECT_TRUE(check(3, Qt::Unchecked)); // no change is always allowed
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(model.index(0, 3).data(Qt::ForegroundRole).value<QBrush>().color(),
              QColor(128, 128, 128));

    model.Reorder({3, 2, 1, 0});
    EXPECT_EQ(model.Line(0), &lines[3]);
    model.RemoveRow(0);
    model.InsertRow(4, &lines[3]);
    EXPECT_EQ(model.RowOf(&lines[3]), 3);
}
