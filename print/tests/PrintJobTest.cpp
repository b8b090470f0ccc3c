#include "PrintJob.h"

#include "ClaimPeriod.h"
#include "DefaultLayout.h"
#include "LocalTime.h"
#include "RecordingCanvas.h"
#include "TextFormat.h"

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
    // Below row 20 the page's subtotal, then the total: the word at the
    // cell's left, the amount at its right.
    const auto* subtotal = last.CellWithText("小計");
    ASSERT_NE(subtotal, nullptr);
    EXPECT_EQ(subtotal->rect.top, RowTop(21));
    EXPECT_EQ(subtotal->flags, 0x24);
    EXPECT_EQ(last.CellWithText("500")->rect.top, RowTop(21));
    const auto* total = last.CellWithText("4,500");
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->rect.top, RowTop(22));
    EXPECT_EQ(total->rect.bottom, RowTop(23));
    EXPECT_EQ(total->rect.left, 100 + 280 + 6);
    EXPECT_EQ(total->rect.right, 100 + 280 + 150 - 8); // digits clear of the border
    EXPECT_EQ(total->flags, 0x26);
    EXPECT_EQ(last.CellWithText("計")->rect.top, RowTop(22));
    EXPECT_EQ(last.CellWithText("計")->flags, 0x24);

    const RecordingCanvas first = Page(job, 1);
    EXPECT_TRUE(first.CellTexts().contains("20"));
    EXPECT_FALSE(first.CellTexts().contains("21"));
    EXPECT_EQ(first.CellWithText("2,000")->rect.top, RowTop(21));
    EXPECT_EQ(first.CellWithText("計"), nullptr);
    EXPECT_EQ(first.CellWithText("4,500"), nullptr);
}

TEST(PrintJob, FortyLinesTotalOnSecondPage)
{
    const PrintFormat format = TableLayout();
    PrintJob job(format);
    const EntryLines claim2 = Lines(40);
    ASSERT_EQ(job.Prepare(claim2, {}, kPrinted), 2);
    const RecordingCanvas second = Page(job, 2);
    EXPECT_TRUE(second.CellTexts().contains("40"));
    EXPECT_EQ(second.CellWithText("2,000")->rect.top, RowTop(21));
    const auto* total = second.CellWithText("4,000");
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->rect.top, RowTop(22));
}

TEST(PrintJob, WithoutFillerRowsTheTotalFollowsTheLastLine)
{
    const PrintFormat format = TableLayout(20, false);
    PrintJob job(format);
    const EntryLines claim3 = Lines(3);
    ASSERT_EQ(job.Prepare(claim3, {}, kPrinted), 1);
    const RecordingCanvas page = Page(job, 1);
    // Header and 3 rows per column; one page has no subtotal, its total is
    // the word and the amount.
    EXPECT_EQ(page.cells.size(), 3u * 4u + 2u);
    EXPECT_EQ(page.CellWithText("300")->rect.top, RowTop(4));
    EXPECT_EQ(page.CellWithText("小計"), nullptr);
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

// A visit destination suggested from a station and never confirmed is not
// the user's word: it prints empty, as the record of the print holds it.
TEST(PrintJob, UnconfirmedSuggestedVisitsPrintEmpty)
{
    PrintFormat format = TableLayout();
    PrintItem visit = Item(PrintItem::ColVisit);
    visit.left = 430;
    visit.width = 300;
    visit.text = QStringLiteral("訪問先");
    format.items.push_back(visit);
    EntryLines lines = Lines(3);
    lines[0]->visitDestination = QStringLiteral("本社");
    lines[1]->visitDestination = QStringLiteral("横浜支店");
    lines[1]->visitSuggested = true;
    PrintJob job(format);
    job.Prepare(lines, {}, kPrinted);
    const QStringList cells = Page(job, 1).CellTexts();
    EXPECT_TRUE(cells.contains(QStringLiteral("本社")));
    EXPECT_FALSE(cells.contains(QStringLiteral("横浜支店")));
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
    EXPECT_NE(page.CellWithText("0"), nullptr);

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
    EXPECT_EQ(Page(two, 1).Texts(), QStringList({"(1/2)", "\\990-", "令和7年3月3日", "氏名 山田 %d",
                                                 "100%s", "対象期間 2025年3月1日～2025年3月28日"}));
    EXPECT_EQ(Page(two, 2).Texts().value(0), "(2/2)");

    PrintJob one(format);
    const EntryLines claim6 = Lines(3, 330);
    ASSERT_EQ(one.Prepare(claim6, {}, QDateTime(QDate(2018, 12, 31), QTime(9, 0))), 1);
    EXPECT_EQ(Page(one, 1).Texts(), QStringList({"\\990-", "令和0年12月31日", "氏名  %d", "100%s",
                                                 "対象期間 2025年3月1日～2025年3月3日"}));
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

namespace
{
std::unique_ptr<EntryInfo> LineOn(int year, int month, int day, int fare = 100)
{
    auto line = std::make_unique<EntryInfo>();
    line->applyFlag = 1;
    line->fare = fare;
    line->dateTime = *LocalToTimestamp(year, month, day, 8, 30, 0);
    return line;
}

// The table above with a station column (110 wide) and a visit column
// (200 wide) after the fare.
PrintFormat TextLayout()
{
    PrintFormat format = TableLayout();
    PrintItem station = Item(PrintItem::ColExitStation);
    station.left = 430;
    station.width = 110;
    station.align = 0x24;
    format.items.push_back(station);
    PrintItem visit = Item(PrintItem::ColVisit);
    visit.left = 540;
    visit.width = 200;
    visit.align = 0x8024; // ellipsis asked for: it gives way to the whole text
    format.items.push_back(visit);
    return format;
}

// The cells of table row q whose left edge is x.
std::vector<RecordingCanvas::CellCall> CellsAt(const RecordingCanvas& page, int x, int q)
{
    std::vector<RecordingCanvas::CellCall> out;
    for (const auto& cell : page.cells)
        if (cell.rect.left == x + 6 && cell.rect.top >= RowTop(q) &&
            cell.rect.bottom <= RowTop(q + 1))
            out.push_back(cell);
    return out;
}
} // namespace

// The period the lines were chosen by heads the table on every page; a
// period left open ends at the printed lines' first or last day.
TEST(PrintJob, PeriodAboveTheTable)
{
    struct Case {
        const char* name;
        ClaimFilter period;
        const char* text;
    };
    const Case cases[] = {
        {"a month", ClaimPeriod::Month(2026, 11), "対象期間 2026年11月1日～2026年11月30日"},
        {"every line", {}, "対象期間 2026年11月3日～2026年11月20日"},
        {"from a day on", ClaimPeriod::Between(QDate(2026, 11, 2), std::nullopt),
         "対象期間 2026年11月2日～2026年11月20日"},
        {"up to a day", ClaimPeriod::Between(std::nullopt, QDate(2026, 11, 25)),
         "対象期間 2026年11月3日～2026年11月25日"},
    };
    const PrintFormat format = TableLayout(1);
    EntryLines lines;
    lines.push_back(LineOn(2026, 11, 20)); // the list's order need not be the days'
    lines.push_back(LineOn(2026, 11, 3));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PrintJob job(format);
        ASSERT_EQ(job.Prepare(lines, {}, kPrinted, c.period), 2);
        EXPECT_EQ(job.PeriodText(), QString::fromUtf8(c.text));
        for (int page : {1, 2}) {
            const RecordingCanvas drawn = Page(job, page);
            ASSERT_EQ(drawn.texts.size(), 1u);
            EXPECT_EQ(drawn.texts[0].text, QString::fromUtf8(c.text));
            // In the header's face and size, not bold, its foot 1 mm above the table.
            EXPECT_EQ(drawn.texts[0].at, (CanvasPoint{100, 200 - 10 - 28}));
            EXPECT_EQ(drawn.texts[0].font.height, 28);
            EXPECT_EQ(drawn.texts[0].font.weight, 400);
        }
    }
    PrintJob empty(format);
    const EntryLines none;
    empty.Prepare(none, {}, kPrinted);
    EXPECT_TRUE(Page(empty, 1).texts.empty()) << "no lines, no period: nothing to say";
    PrintJob chosen(format);
    chosen.Prepare(none, {}, kPrinted, ClaimPeriod::Month(2026, 12));
    EXPECT_EQ(Page(chosen, 1).Texts(), QStringList{"対象期間 2026年12月1日～2026年12月31日"});
}

// Dates show their year when the printed lines span several years;
// otherwise, and when the layout's format shows a year itself, as it says.
TEST(PrintJob, DatesCarryTheYearOverSeveralYears)
{
    struct Case {
        const char* format;
        std::vector<std::array<int, 3>> days;
        QStringList shown;
    };
    const Case cases[] = {
        {"%m/%d", {{2025, 3, 1}, {2025, 12, 31}}, {"03/01", "12/31"}},
        {"%m/%d", {{2025, 12, 31}, {2026, 1, 2}}, {"2025年12月31日", "2026年1月2日"}},
        {"%#m月%#d日", {{2010, 9, 25}, {2011, 3, 3}}, {"2010年9月25日", "2011年3月3日"}},
        {"%Y/%m/%d", {{2025, 12, 31}, {2026, 1, 2}}, {"2025/12/31", "2026/01/02"}},
        {"%E年%#m月%#d日", {{2025, 12, 31}, {2026, 1, 2}}, {"令和7年12月31日", "令和8年1月2日"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        PrintFormat format = TableLayout();
        format.items[2].format2 = QString::fromUtf8(c.format);
        EntryLines lines;
        for (const auto& [year, month, day] : c.days)
            lines.push_back(LineOn(year, month, day));
        PrintJob job(format);
        job.Prepare(lines, {}, kPrinted);
        const RecordingCanvas page = Page(job, 1);
        QStringList dates;
        for (int q = 1; q <= static_cast<int>(c.days.size()); ++q)
            dates << CellsAt(page, 100 + 80, q).at(0).text;
        EXPECT_EQ(dates, c.shown);
    }
}

// The dates of a page share one size, the one the widest of them fits in.
TEST(PrintJob, DatesOfAPageShareOneSize)
{
    PrintFormat format = TableLayout();
    format.items[2].width = 150; // 135 inside: 9 characters of height 30
    EntryLines lines;
    lines.push_back(LineOn(2025, 12, 31)); // 11 characters: it needs 24
    lines.push_back(LineOn(2026, 1, 2));   // 9 characters: it would fit at 30
    PrintJob job(format);
    job.Prepare(lines, {}, kPrinted);
    const RecordingCanvas page = Page(job, 1);
    EXPECT_EQ(CellsAt(page, 100 + 80, 1).at(0).font.height, 24);
    EXPECT_EQ(CellsAt(page, 100 + 80, 2).at(0).text, "2026年1月2日");
    EXPECT_EQ(CellsAt(page, 100 + 80, 2).at(0).font.height, 24);
}

// No text is cut: a destination wraps inside its cell, in the largest size
// at which its lines fit the row, a station name too long for its cell gets
// a smaller size; every character is drawn, no surrogate pair split.
TEST(PrintJob, TextsAreNeverCut)
{
    struct Case {
        const char* visit;
        int lines;
        int height; // of each line's font
    };
    // 185 wide inside the borders: 12 characters of height 30 a line; the
    // row's 46 inside holds two lines of 23 or three of 15.
    const Case cases[] = {
        {"本社", 1, 30},
        {"株式会社みどり商事神保町", 1, 30},
        {"株式会社みどり商事 神保町営業所", 1, 23},     // one line a little smaller
        {"株式会社みどり商事 神保町第二営業所", 2, 23}, // broken at the space
        {"𠮷野家 神保町店 𠮷野家 神保町店 𠮷野家", 2, 23},
        {"東京都千代田区神田神保町二丁目十番地株式会社みどり商事本社ビル第二営業部第三会議室打合"
         "せ資料持参三階",
         3, 15},
    };
    const PrintFormat format = TextLayout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.visit);
        EntryLines lines;
        lines.push_back(LineOn(2026, 11, 2));
        lines[0]->visitDestination = QString::fromUtf8(c.visit);
        lines[0]->exitStationName = QStringLiteral("西武新宿線 下落合");
        PrintJob job(format);
        job.Prepare(lines, {}, kPrinted);
        const RecordingCanvas page = Page(job, 1);
        const auto visit = CellsAt(page, 100 + 540, 1);
        ASSERT_EQ(static_cast<int>(visit.size()), c.lines);
        QString drawn;
        for (const auto& line : visit) {
            EXPECT_EQ(line.font.height, c.height);
            EXPECT_TRUE(line.text.isValidUtf16()) << line.text.toStdString();
            EXPECT_LE(static_cast<int>(line.text.size()) * line.font.height / 2, 185);
            drawn += line.text;
        }
        // Only the spaces at the breaks go.
        EXPECT_EQ(drawn.remove(QLatin1Char(' ')),
                  QString::fromUtf8(c.visit).remove(QLatin1Char(' ')));
        const auto station = CellsAt(page, 100 + 430, 1);
        ASSERT_EQ(station.size(), 1u);
        EXPECT_EQ(station[0].text, "西武新宿線 下落合");
        EXPECT_LT(station[0].font.height, 30);
        EXPECT_LE(9 * station[0].font.height / 2, 110 - 6 - 8);
    }
}

TEST(PrintJob, AVeryLongTextGetsSmallerStillAndKeepsEveryCharacter)
{
    const PrintFormat format = TextLayout();
    EntryLines lines;
    lines.push_back(LineOn(2026, 11, 2));
    const QString visit = QString::fromUtf8("東京都千代田区神田神保町二丁目十番地").repeated(8);
    lines[0]->visitDestination = visit;
    PrintJob job(format);
    job.Prepare(lines, {}, kPrinted);
    const auto cells = CellsAt(Page(job, 1), 100 + 540, 1);
    ASSERT_GT(cells.size(), 3u);
    QString drawn;
    for (const auto& line : cells) {
        EXPECT_LT(line.font.height, 15);
        drawn += line.text;
    }
    EXPECT_EQ(drawn, visit);
    EXPECT_LE(static_cast<int>(cells.size()) * cells[0].font.height, 46);
}

// Each page's subtotal is the sum of its lines, the total theirs.
TEST(PrintJob, SubtotalsAndTotalAreTheSumsOfTheLines)
{
    const PrintFormat format = TableLayout(20, false);
    EntryLines lines;
    for (int i = 0; i < 45; ++i)
        lines.push_back(LineOn(2026, 1 + i / 28, 1 + i % 28, 100 + 37 * i));
    PrintJob job(format);
    ASSERT_EQ(job.Prepare(lines, {}, kPrinted), 3);
    std::int64_t sum = 0;
    for (int page = 1; page <= 3; ++page) {
        std::int64_t onPage = 0;
        for (const EntryInfo* line : job.LinesOnPages(page, page))
            onPage += line->fare;
        EXPECT_EQ(job.PageTotal(page), onPage);
        sum += onPage;
        const RecordingCanvas drawn = Page(job, page);
        const int rows = static_cast<int>(job.LinesOnPages(page, page).size());
        const auto subtotal = CellsAt(drawn, 100 + 280, rows + 1);
        ASSERT_EQ(subtotal.size(), 2u);
        EXPECT_EQ(subtotal[0].text, "小計");
        EXPECT_EQ(subtotal[1].text, FormatAmount(onPage).trimmed());
        const auto total = CellsAt(drawn, 100 + 280, rows + 2);
        EXPECT_EQ(total.size(), page == 3 ? 2u : 0u);
    }
    EXPECT_EQ(sum, job.Total());
    EXPECT_EQ(CellsAt(Page(job, 3), 100 + 280, 5 + 2).at(1).text, FormatAmount(sum).trimmed());
}

// Every printed field keeps to its place: a long department stays on its
// ruled line, clear of the stamps beside it (smaller, then wrapped above the
// line), and a short one prints as it always did.
TEST(PrintJob, ClaimantFieldsKeepToTheirLines)
{
    const PrintFormat format = DefaultLayout();
    const PrintItem* post = nullptr;
    for (const PrintItem& item : format.items)
        if (item.kind == PrintItem::ClaimantPost)
            post = &item;
    ASSERT_NE(post, nullptr);
    struct Case {
        const char* post;
        bool wrapped;
    };
    const Case cases[] = {
        {"総務部", false},
        {"株式会社フェンウィル東日本営業本部第二営業部法人営業課", true},
        {"株式会社フェンウィル東日本営業本部第二営業部法人営業課首都圏第三グループ担当", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.post);
        const EntryLines lines = Lines(1);
        PrintJob job(format);
        job.Prepare(lines, {QString::fromUtf8(c.post), "A-1024", "日野 月子"}, kPrinted);
        const RecordingCanvas page = Page(job, 1);
        std::vector<RecordingCanvas::TextCall> drawn;
        for (const auto& text : page.texts)
            if (text.at.x == post->left && text.at.y <= post->top)
                drawn.push_back(text);
        ASSERT_EQ(drawn.size() > 1, c.wrapped);
        QString whole;
        for (const auto& text : drawn) {
            // Half the height a character, as the recorder measures: up to
            // the ruled line's end at 900, short of the stamps at 1500.
            EXPECT_LE(text.at.x + static_cast<int>(text.text.size()) * text.font.height / 2, 900);
            EXPECT_LE(text.at.y + text.font.height, post->top + post->fontHeight);
            whole += text.text;
        }
        // Only the spaces at the breaks go.
        const QString written = post->format.arg(QString::fromUtf8(c.post));
        EXPECT_EQ(whole.remove(QChar(0x3000)), QString(written).remove(QChar(0x3000)));
        if (!c.wrapped) {
            EXPECT_EQ(drawn[0].at.y, post->top);
            EXPECT_EQ(drawn[0].font.height, post->fontHeight);
        }
    }
}

// A bus ride prints its operator and line as the list shows them; "共通" (a
// fare for any stop) is no stop to print.
TEST(PrintJob, ABusRidePrintsItsOperatorAndLine)
{
    const PrintFormat format = DefaultLayout();
    EntryLines lines = Lines(2);
    for (auto& line : lines) {
        line->terminalType = 0x05;
        line->processType = 0x0D;
        line->exitCompanyName = QStringLiteral("東京都交通局");
        line->exitStationName = QStringLiteral("共通");
    }
    lines[1]->exitLineName = QStringLiteral("都01");
    lines[1]->exitStationName = QStringLiteral("渋谷駅前");
    PrintJob job(format);
    job.Prepare(lines, {}, kPrinted);
    const QStringList cells = Page(job, 1).CellTexts();
    EXPECT_TRUE(cells.contains("東京都交通局"));
    EXPECT_TRUE(cells.contains("東京都交通局 都01"));
    EXPECT_TRUE(cells.contains("渋谷駅前"));
    EXPECT_FALSE(cells.contains("共通"));
}
