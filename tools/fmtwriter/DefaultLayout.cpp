#include "DefaultLayout.h"

#include <algorithm>

namespace
{
// Font heights are character cell heights (ascent plus descent), 0.1 mm.
const QString kFace = QStringLiteral("Noto Sans CJK JP");

PrintItem Item(PrintItem::Kind kind, int left, int top, int fontHeight = 51, int weight = 400)
{
    PrintItem item;
    item.kind = kind;
    item.left = left;
    item.top = top;
    item.fontFace = kFace;
    item.fontHeight = fontHeight;
    item.fontWeight = weight;
    item.penStyle = 0;
    item.penWidth = 3;
    return item;
}

PrintItem TextItem(PrintItem::Kind kind, int left, int top, const QString& format,
                   int fontHeight = 51, int weight = 400)
{
    PrintItem item = Item(kind, left, top, fontHeight, weight);
    item.format = format;
    return item;
}

PrintItem Rule(int left, int top, int right, int bottom, int width = 3)
{
    PrintItem item = Item(PrintItem::Line, left, top);
    item.right = right;
    item.bottom = bottom;
    item.penWidth = width;
    return item;
}

PrintItem Column(PrintItem::Kind kind, int offset, int width, const QString& header,
                 int align = 0x8024)
{
    PrintItem item = Item(kind, offset, 0, 43);
    item.width = width;
    item.text = header;
    item.align = align;
    return item;
}
} // namespace

PrintFormat DefaultLayout()
{
    PrintFormat format;
    format.paperSize = PrintFormat::kA4;
    format.orientation = PrintFormat::kPortrait;
    auto& items = format.items;

    // The table: 20 rows a page, filled up with empty rows, the sums below.
    // Rows hold two lines of a long destination or remark at a legible size.
    PrintItem list = Item(PrintItem::List, 100, 680, 43, 700);
    list.pages = PrintItem::FillRows;
    list.rowHeight = 70;
    list.rowsPerPage = 20;
    list.align = 0x8025;
    list.penWidth = 2;
    items.push_back(list);

    PrintItem number = Column(PrintItem::ColNumber, 0, 80, QStringLiteral("No."), 0x25);
    number.format = QStringLiteral("%d");
    items.push_back(number);
    PrintItem date = Column(PrintItem::ColDate, 80, 220, QStringLiteral("日付"), 0x25);
    date.format2 = QStringLiteral("%#m月%#d日");
    items.push_back(date);
    items.push_back(Column(PrintItem::ColEntryStation, 300, 215, QStringLiteral("乗車駅")));
    items.push_back(Column(PrintItem::ColExitStation, 515, 215, QStringLiteral("降車駅")));
    items.push_back(Column(PrintItem::ColEntryLine, 730, 210, QStringLiteral("路線")));
    PrintItem fare = Column(PrintItem::ColFare, 940, 190, QStringLiteral("運賃(円)"), 0x8026);
    fare.format2 = QStringLiteral("合計 %s");
    items.push_back(fare);
    items.push_back(Column(PrintItem::ColVisit, 1130, 410, QStringLiteral("訪問先")));
    items.push_back(Column(PrintItem::ColRemarks, 1540, 360, QStringLiteral("備考")));

    // Heading.
    PrintItem title = TextItem(PrintItem::Title, 720, 110, QString(), 116, 700);
    title.text = QStringLiteral("交 通 費 精 算 書");
    items.push_back(title);
    items.push_back(Rule(700, 215, 1400, 215, 4));
    PrintItem applyDate = TextItem(PrintItem::ApplyDate, 1450, 260, QStringLiteral("申請日  %1"));
    applyDate.format2 = QStringLiteral("%E年%#m月%#d日");
    items.push_back(applyDate);

    // Claimant, each field on a ruled line.
    items.push_back(TextItem(PrintItem::ClaimantPost, 120, 350, QStringLiteral("所　属　%1")));
    items.push_back(Rule(100, 400, 900, 400));
    items.push_back(
        TextItem(PrintItem::ClaimantIdNumber, 120, 430, QStringLiteral("社員番号　%1")));
    items.push_back(Rule(100, 480, 900, 480));
    items.push_back(TextItem(PrintItem::ClaimantName, 120, 510, QStringLiteral("氏　名　%1")));
    items.push_back(Rule(100, 560, 900, 560));

    // Two approval stamps at the right.
    for (const auto& [left, caption] :
         {std::pair{1500, QStringLiteral("承認")}, std::pair{1750, QStringLiteral("確認")}}) {
        PrintItem stamp = Item(PrintItem::Stamp, left, 330, 43);
        stamp.right = left + 250;
        stamp.bottom = 580;
        stamp.format = QStringLiteral("%s");
        stamp.text = caption;
        stamp.penWidth = 3;
        items.push_back(stamp);
    }

    // Below the table on the last page: the statement and the total.
    PrintItem statement = TextItem(PrintItem::Text, 100, 2330, QString(), 46);
    statement.text = QStringLiteral("上記のとおり交通費を申請します。");
    statement.pages = PrintItem::LastPage;
    items.push_back(statement);
    PrintItem total =
        TextItem(PrintItem::Total, 1250, 2410, QStringLiteral("合計金額　￥%1－"), 72, 700);
    total.pages = PrintItem::LastPage;
    items.push_back(total);
    PrintItem underline = Rule(1230, 2490, 2000, 2490, 4);
    underline.pages = PrintItem::LastPage;
    items.push_back(underline);

    PrintItem page = TextItem(PrintItem::PageNumber, 1000, 2820, QStringLiteral("%s"), 43);
    page.format2 = QStringLiteral("(%1/%2)");
    page.pages = PrintItem::MultiPage;
    items.push_back(page);
    return format;
}

QString BoldText(const PrintFormat& format)
{
    constexpr int kBold = 600;
    const bool boldTable =
        std::any_of(format.items.begin(), format.items.end(), [](const auto& item) {
            return item.kind == PrintItem::List && item.fontWeight >= kBold;
        });
    QString text;
    for (const PrintItem& item : format.items) {
        if (item.IsColumn() && boldTable)
            text += item.text;
        if (item.fontWeight >= kBold)
            text += item.text + item.format + item.format2;
    }
    return text;
}
