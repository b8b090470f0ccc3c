#include "PrintJob.h"

#include "LocalTime.h"
#include "RecordingCanvas.h"

#include <gtest/gtest.h>

namespace
{
PrintItem Item(PrintItem::Kind kind)
{
    PrintItem item;
    item.kind = kind;
    item.fontFace = QStringLiteral("Face");
    item.fontHeight = 30;
    item.penStyle = 0;
    item.penWidth = 2;
    return item;
}

// A table at (100, 200) with 50-high rows: number, date and fare columns.
PrintFormat TableLayout(int rowsPerPage = 20, bool fill = true)
{
    PrintFormat format;
    PrintItem list = Item(PrintItem::List);
    list.left = 100;
    list.top = 200;
    list.rowHeight = 50;
    list.rowsPerPage = rowsPerPage;
    list.pages = fill ? PrintItem::FillRows : PrintItem::AllPages;
    list.align = 0x25;
    list.fontHeight = 28;
    format.items.push_back(list);
    PrintItem number = Item(PrintItem::ColNumber);
    number.width = 80;
    number.format = QStringLiteral("%d");
    number.text = QStringLiteral("No.");
    format.items.push_back(number);
    PrintItem date = Item(PrintItem::ColDate);
    date.left = 80;
    date.width = 200;
    date.format2 = QStringLiteral("%m/%d");
    date.text = QStringLiteral("日付");
    format.items.push_back(date);
    PrintItem fare = Item(PrintItem::ColFare);
    fare.left = 280;
    fare.width = 150;
    fare.align = 0x26;
    fare.format2 = QStringLiteral("計%s");
    fare.text = QStringLiteral("運賃");
    format.items.push_back(fare);
    return format;
}

EntryLines Lines(int count, int fare = 100)
{
    EntryLines lines;
    for (int i = 0; i < count; ++i) {
        auto line = std::make_unique<EntryInfo>();
        line->applyFlag = 1;
        line->fare = fare;
        line->dateTime = *LocalToTimestamp(2025, 3, 1 + i % 28, 0, 0, 0);
        lines.push_back(std::move(line));
    }
    return lines;
}

const QDateTime kPrinted(QDate(2025, 3, 3), QTime(10, 0));

RecordingCanvas Page(const PrintJob& job, int page)
{
    RecordingCanvas canvas;
    job.PrintPage(canvas, page);
    return canvas;
}

// Top of table row q of the layout above.
int RowTop(int q)
{
    return 200 + q * 50;
}
} // namespace

TEST(PrintJob, FortyFiveLinesOnThreePages)
{
    const PrintFormat format = TableLayout();
    PrintJob job(format);
    const EntryLines claim1 = Lines(45);
    ASSERT_EQ(job.Prepare(claim1, {}, kPrinted), 3);
    EXPECT_EQ(job.Total(), 4500);

    const RecordingCanvas last = Page(job, 3);
    // No. column: header, 5 lines (41-45), 15 filler rows numbered 46-60.
    QStringList numbers;
    for (const auto& cell : last.cells)
        if (cell.rect.left == 100 + 6)
            numbers << cell.text;
    QStringList expected = {"No."};
    for (int n = 41; n <= 60; ++n)
        expected << QString::number(n);
    EXPECT_EQ(numbers, expected);
    // The total row sits below row 20.
    const auto* total = last.CellWithText("計 4,500");
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->rect.top, RowTop(21));
    EXPECT_EQ(total->rect.bottom, RowTop(22));
    EXPECT_EQ(total->rect.left, 100 + 280 + 6);
    EXPECT_EQ(total->flags, 0x26);

    const RecordingCanvas first = Page(job, 1);
    EXPECT_TRUE(first.CellTexts().contains("20"));
    EXPECT_FALSE(first.CellTexts().contains("21"));
    EXPECT_EQ(first.CellWithText("計 4,500"), nullptr);
}

TEST(PrintJob, FortyLinesTotalOnSecondPage)
{
    const PrintFormat format = TableLayout();
    PrintJob job(format);
    const EntryLines claim2 = Lines(40);
    ASSERT_EQ(job.Prepare(claim2, {}, kPrinted), 2);
    const RecordingCanvas second = Page(job, 2);
    EXPECT_TRUE(second.CellTexts().contains("40"));
    const auto* total = second.CellWithText("計 4,000");
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->rect.top, RowTop(21));
}

TEST(PrintJob, WithoutFillerRowsTheTotalFollowsTheLastLine)
{
    const PrintFormat format = TableLayout(20, false);
    PrintJob job(format);
    const EntryLines claim3 = Lines(3);
    ASSERT_EQ(job.Prepare(claim3, {}, kPrinted), 1);
    const RecordingCanvas page = Page(job, 1);
    EXPECT_EQ(page.cells.size(), 3u * 4u + 1u); // header and 3 rows per column, one total
    EXPECT_EQ(page.CellWithText("計   300")->rect.top, RowTop(4));
}

TEST(PrintJob, OnlyClaimedLinesArePrintedAndCounted)
{
    const PrintFormat format = TableLayout();
    EntryLines lines = Lines(5);
    lines[1]->applyFlag = 0;
    lines[3]->applyFlag = 2;
    PrintJob job(format);
    job.Prepare(lines, {}, kPrinted);
    EXPECT_EQ(job.Lines().size(), 3u);
    EXPECT_EQ(job.Total(), 300);
}

TEST(PrintJob, EmptyClaimPrintsOnePageWithHeaderAndFillers)
{
    const PrintFormat format = TableLayout(5);
    PrintJob job(format);
    const EntryLines none;
    EXPECT_EQ(job.Prepare(none, {}, kPrinted), 1);
    const RecordingCanvas page = Page(job, 1);
    EXPECT_TRUE(page.CellTexts().contains("No."));
    EXPECT_TRUE(page.CellTexts().contains("5"));
    EXPECT_NE(page.CellWithText("計     0"), nullptr);

    PrintFormat noTable;
    noTable.items.push_back(Item(PrintItem::Title));
    PrintJob bare(noTable);
    const EntryLines claim4 = Lines(30);
    EXPECT_EQ(bare.Prepare(claim4, {}, kPrinted), 1);
}

TEST(PrintJob, PageSelection)
{
    struct Case {
        int pages, page, count;
        bool shown;
    };
    const Case cases[] = {
        {0, 1, 1, true}, {0, 2, 3, true},  {1, 1, 3, true},  {1, 2, 3, false},
        {2, 3, 3, true}, {2, 1, 3, false}, {2, 1, 1, true},  {3, 1, 1, false},
        {3, 1, 2, true}, {3, 2, 2, true},  {4, 1, 1, false}, {-1, 1, 1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrintJob::IsSelected(c.pages, c.page, c.count), c.shown)
            << c.pages << " " << c.page << "/" << c.count;
}

TEST(PrintJob, TextItems)
{
    PrintFormat format = TableLayout();
    PrintItem pageNumber = Item(PrintItem::PageNumber);
    pageNumber.format = QStringLiteral("%s");
    pageNumber.format2 = QStringLiteral("(%1/%2)");
    pageNumber.pages = PrintItem::MultiPage;
    PrintItem total = Item(PrintItem::Total);
    total.format = QStringLiteral("\\%1-");
    PrintItem date = Item(PrintItem::ApplyDate);
    date.format = QStringLiteral("%1");
    date.format2 = QStringLiteral("%E年%#m月%#d日");
    PrintItem name = Item(PrintItem::ClaimantName);
    name.format = QStringLiteral("氏名 %1 %d");
    PrintItem text = Item(PrintItem::Text);
    text.text = QStringLiteral("100%s");
    format.items.insert(format.items.end(), {pageNumber, total, date, name, text});

    PrintJob two(format);
    const EntryLines claim5 = Lines(30, 33);
    ASSERT_EQ(two.Prepare(claim5, {"営業部", "A-7", "山田"}, kPrinted), 2);
    EXPECT_EQ(Page(two, 1).Texts(),
              QStringList({"(1/2)", "\\990-", "令和7年3月3日", "氏名 山田 %d", "100%s"}));
    EXPECT_EQ(Page(two, 2).Texts().value(0), "(2/2)");

    PrintJob one(format);
    const EntryLines claim6 = Lines(3, 330);
    ASSERT_EQ(one.Prepare(claim6, {}, QDateTime(QDate(2018, 12, 31), QTime(9, 0))), 1);
    EXPECT_EQ(Page(one, 1).Texts(),
              QStringList({"\\990-", "令和0年12月31日", "氏名  %d", "100%s"}));
}

TEST(PrintJob, EraDates)
{
    const std::int64_t may1 = *LocalToTimestamp(2024, 5, 1, 9, 5, 7);
    EXPECT_EQ(PrintJob::FormatEraDate("%Y年%#m月%#d日", may1), "2024年5月1日");
    EXPECT_EQ(PrintJob::FormatEraDate("%E年%#m月%#d日", may1), "令和6年5月1日");
    EXPECT_EQ(PrintJob::FormatEraDate("%m/%d %H:%M:%S %q", may1), "05/01 09:05:07 %q");
    EXPECT_EQ(PrintJob::FormatEraDate("%E", *LocalToTimestamp(2019, 5, 1, 0, 0, 0)), "令和1");
}

TEST(PrintJob, StampCaptionIsCentredInItsRow)
{
    PrintFormat format;
    PrintItem stamp = Item(PrintItem::Stamp);
    stamp.left = 1000;
    stamp.top = 300;
    stamp.right = 1250;
    stamp.bottom = 550;
    stamp.format = QStringLiteral("%s");
    stamp.text = QStringLiteral("承認印");
    stamp.fontHeight = 30; // measured 45 wide, 30 high
    format.items.push_back(stamp);
    PrintJob job(format);
    const EntryLines none;
    job.Prepare(none, {}, kPrinted);
    const RecordingCanvas page = Page(job, 1);
    ASSERT_EQ(page.texts.size(), 1u);
    EXPECT_EQ(page.texts[0].text, "承認印");
    EXPECT_EQ(page.texts[0].at, (CanvasPoint{1000 + (250 - 45) / 2, 305}));
    ASSERT_EQ(page.lines.size(), 5u);
    EXPECT_EQ(page.lines[1].from, (CanvasPoint{1000, 300 + 30 + 2 * 5}));
    EXPECT_EQ(page.lines[1].to, (CanvasPoint{1250, 340}));
    EXPECT_EQ(page.lines[4].to, (CanvasPoint{1250, 550}));
}

TEST(PrintJob, FareAlignmentKeepsOrDropsLeadingSpaces)
{
    for (const auto& [align, text] :
         {std::pair{0x25, " 1,234"}, std::pair{0x24, "1,234"}, std::pair{0x26, " 1,234"}}) {
        PrintFormat format = TableLayout();
        format.items[3].align = align;
        PrintJob job(format);
        const EntryLines claim7 = Lines(1, 1234);
        job.Prepare(claim7, {}, kPrinted);
        const RecordingCanvas page = Page(job, 1);
        ASSERT_NE(page.CellWithText(text), nullptr) << align;
        EXPECT_EQ(page.CellWithText(text)->flags, align);
    }
}

TEST(PrintJob, MarginsMoveEverything)
{
    PrintFormat format = TableLayout();
    PrintItem box = Item(PrintItem::Box);
    box.left = 10;
    box.top = 20;
    box.right = 110;
    box.bottom = 120;
    PrintItem title = Item(PrintItem::Title);
    title.text = QStringLiteral("交通費精算書");
    title.left = 500;
    title.top = 40;
    format.items.insert(format.items.end(), {box, title});
    PrintJob plain(format);
    const EntryLines claim8 = Lines(2);
    plain.Prepare(claim8, {}, kPrinted);
    const RecordingCanvas before = Page(plain, 1);

    format.leftMargin = 25;
    format.topMargin = -15;
    PrintJob moved(format);
    const EntryLines claim9 = Lines(2);
    moved.Prepare(claim9, {}, kPrinted);
    const RecordingCanvas after = Page(moved, 1);

    ASSERT_EQ(before.lines.size(), after.lines.size());
    for (std::size_t i = 0; i < before.lines.size(); ++i) {
        EXPECT_EQ(after.lines[i].from.x, before.lines[i].from.x + 25);
        EXPECT_EQ(after.lines[i].to.y, before.lines[i].to.y - 15);
    }
    ASSERT_EQ(before.cells.size(), after.cells.size());
    for (std::size_t i = 0; i < before.cells.size(); ++i) {
        EXPECT_EQ(after.cells[i].rect.left, before.cells[i].rect.left + 25);
        EXPECT_EQ(after.cells[i].rect.bottom, before.cells[i].rect.bottom - 15);
    }
    EXPECT_EQ(after.texts[0].at, (CanvasPoint{525, 25}));
}

TEST(PrintJob, NegativePenStyleDrawsNoBorders)
{
    PrintFormat format = TableLayout();
    format.items[0].penStyle = -1;
    PrintJob job(format);
    const EntryLines claim10 = Lines(1);
    job.Prepare(claim10, {}, kPrinted);
    const RecordingCanvas page = Page(job, 1);
    EXPECT_TRUE(page.lines.empty());
    EXPECT_FALSE(page.cells.empty());
}
