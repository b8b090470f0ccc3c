#include "ClaimTotal.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace
{
std::unique_ptr<EntryInfo> Trip(int fare, int day)
{
    auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'790'000'000 + 86400 * day));
    line->fare = fare;
    line->applyFlag = 1;
    return line;
}
} // namespace

// The total follows each change, undo and filter of the claim.
TEST(ClaimTotal, FollowsEveryChangeOfTheClaim)
{
    AppSettings settings;
    CCorvaneDoc doc(settings);
    ClaimTotal total(doc);
    EntryLines lines;
    lines.push_back(Trip(200, 0));
    lines.push_back(Trip(480, 1));
    doc.ReplaceLines(std::move(lines));
    total.SetFilter({}, ListedPositions(doc.Lines(), {}));
    EXPECT_EQ(total.Total(), 680);

    doc.SetMarks({{0, false}}, QStringLiteral("untick"));
    EXPECT_EQ(total.Count(), 1);
    EXPECT_EQ(total.Text().text(), ClaimTotal::TextFor(480));
    EntryLines read;
    read.push_back(Trip(1000, 2));
    doc.AppendLines(std::move(read), QStringLiteral("read"));
    EXPECT_EQ(total.Total(), 1480);
    doc.UndoStack().undo();
    doc.UndoStack().undo();
    EXPECT_EQ(total.Total(), 680);

    ClaimFilter secondDay;
    secondDay.from = 1'790'000'000 + 86400;
    total.SetFilter(secondDay, ListedPositions(doc.Lines(), secondDay));
    EXPECT_EQ(total.Total(), 480);
    doc.RemoveLines({1});
    EXPECT_EQ(total.Total(), 0);
    EXPECT_EQ(total.Count(), 0);
}
