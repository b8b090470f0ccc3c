#include "PrintJob.h"

#include "HistoryCodes.h"
#include "JapaneseStrftime.h"
#include "LocalTime.h"
#include "PrintedPeriod.h"
#include "SafePrintf.h"
#include "TextFit.h"
#include "TextFormat.h"
#include "TextItemPlace.h"

#include <QRect>
#include <QSizeF>
#include <algorithm>
#include <ctime>
#include <optional>

namespace
{
CanvasFont FontOf(const PrintItem& item)
{
    return {item.fontFace,    item.fontHeight,     item.fontWeight,
            item.italic != 0, item.underline != 0, item.strikeOut != 0};
}

QString LeftTrimmed(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    return text.mid(i);
}

QString Amount(std::int64_t amount, int align)
{
    const QString text = FormatAmount(amount);
    return (align & (TextFlags::Center | TextFlags::Right)) ? text : LeftTrimmed(text);
}

// Inside a cell's borders: the layouts' 0.6 mm on the left, a little more on
// the right so that right-aligned digits stand clear of the border.
constexpr int kPaddingLeft = 6;
constexpr int kPaddingRight = 8;
constexpr int kPaddingWrapped = 2; // above and below wrapped lines
// Between the period and the table below it.
constexpr int kPeriodGap = 10;
// Dates of a claim over several years.
const QString kDateWithYear = QStringLiteral("%Y年%#m月%#d日");

// The width a cell's text may take.
int InnerWidth(const PrintItem& column)
{
    return std::max(1, column.width - kPaddingLeft - kPaddingRight - 1);
}

// Nothing is cut from a text in a cell; the layouts' ellipsis and word-break
// flags give way to fitting it.
int CellFlags(int align)
{
    return align & ~(TextFlags::EndEllipsis | TextFlags::WordBreak);
}

bool ShowsYear(const QString& format)
{
    return format.contains(QLatin1String("%Y")) || format.contains(QLatin1String("%y")) ||
           format.contains(QLatin1String("%E"));
}

// A sum row's format split at its amount: "計 %s" gives 計 before it and
// nothing after. Nothing when the format is not one plain %s.
std::optional<std::pair<QString, QString>> SumParts(const QString& format)
{
    const qsizetype at = format.indexOf(QLatin1String("%s"));
    if (at < 0 || format.count(QLatin1Char('%')) != 1)
        return std::nullopt;
    return std::pair{format.left(at).trimmed(), format.mid(at + 2)};
}
} // namespace

PrintJob::PrintJob(const PrintFormat& format) : m_format(format)
{
    for (const PrintItem& item : format.items) {
        m_companyColumn = m_companyColumn || item.kind == PrintItem::ColEntryCompany ||
                          item.kind == PrintItem::ColExitCompany;
        if (item.kind == PrintItem::List)
            m_table.insert(m_table.begin(), &item);
        else if (item.IsColumn())
            m_table.push_back(&item);
        else if ((item.kind >= PrintItem::Text && item.kind <= PrintItem::PageNumber) ||
                 item.kind == PrintItem::Total)
            m_texts.push_back(&item);
        else if (item.kind == PrintItem::Line || item.kind == PrintItem::Box)
            m_shapes.push_back(&item);
        else if (item.kind == PrintItem::Stamp)
            m_stamps.push_back(&item);
    }
}

int PrintJob::Prepare(const EntryLines& lines, const std::array<QString, 3>& claimant,
                      const QDateTime& printTime, const ClaimFilter& period)
{
    std::vector<const EntryInfo*> pointers;
    for (const auto& line : lines)
        pointers.push_back(line.get());
    return Prepare(pointers, claimant, printTime, period);
}

int PrintJob::Prepare(const std::vector<const EntryInfo*>& lines,
                      const std::array<QString, 3>& claimant, const QDateTime& printTime,
                      const ClaimFilter& period)
{
    m_claimant = claimant;
    m_printTime = printTime;
    m_lines.clear();
    m_total = 0;
    for (const EntryInfo* line : lines) {
        if (line->applyFlag != 1)
            continue;
        m_lines.push_back(line);
        m_total += line->fare;
    }
    m_periodText = PrintedPeriod::Heading(period, m_lines);
    m_datesWithYear = PrintedPeriod::SpansYears(m_lines);
    if (m_table.empty()) {
        m_rowsPerPage = 1;
        m_pageCount = 1;
        return m_pageCount;
    }
    // The layout reader guarantees at least one row per page.
    m_rowsPerPage = std::max(1, m_table.front()->rowsPerPage);
    const auto n = static_cast<long long>(m_lines.size());
    m_pageCount = static_cast<int>(std::max(1LL, (n + m_rowsPerPage - 1) / m_rowsPerPage));
    return m_pageCount;
}

bool PrintJob::IsSelected(std::int32_t pages, int page, int pageCount)
{
    switch (pages) {
    case PrintItem::AllPages:
        return true;
    case PrintItem::MultiPage:
        return pageCount >= 2;
    case PrintItem::FirstPage:
        return page == 1;
    case PrintItem::LastPage:
        return page == pageCount;
    default:
        return false;
    }
}

int PrintJob::LinesOnPage(int page) const
{
    const auto n = static_cast<int>(m_lines.size());
    const long long before = static_cast<long long>(page - 1) * m_rowsPerPage;
    if (before >= n)
        return 0;
    return static_cast<int>(std::min<long long>(m_rowsPerPage, n - before));
}

std::int64_t PrintJob::PageTotal(int page) const
{
    std::int64_t total = 0;
    for (const EntryInfo* line : LinesOnPages(page, page))
        total += line->fare;
    return total;
}

std::vector<const EntryInfo*> PrintJob::LinesOnPages(int first, int last) const
{
    first = std::max(first, 1);
    last = std::min(last, m_pageCount);
    if (first > last)
        return {};
    if (m_table.empty())
        return m_lines;
    const auto begin = std::min<long long>(static_cast<long long>(first - 1) * m_rowsPerPage,
                                           static_cast<long long>(m_lines.size()));
    const auto end = std::min<long long>(static_cast<long long>(last) * m_rowsPerPage,
                                         static_cast<long long>(m_lines.size()));
    return {m_lines.begin() + begin, m_lines.begin() + end};
}

QString PrintJob::FormatEraDate(const QString& format, std::int64_t time)
{
    std::tm tm{};
    const bool converted = ToLocalTime(time, tm);
    const int eraYear = converted ? tm.tm_year + 1900 - 2018 : -2018;
    QString text = format;
    text.replace(QLatin1String("%E"), QStringLiteral("令和%1").arg(eraYear));
    if (!converted)
        return text;
    return JapaneseStrftime(text, tm);
}

void PrintJob::PrintPage(PageCanvas& canvas, int page) const
{
    for (const PrintItem* stamp : m_stamps)
        if (IsSelected(stamp->pages, page, m_pageCount))
            DrawStamp(canvas, *stamp);
    for (const PrintItem* text : m_texts)
        if (IsSelected(text->pages, page, m_pageCount))
            DrawTextItem(canvas, *text, page);
    for (const PrintItem* shape : m_shapes)
        if (IsSelected(shape->pages, page, m_pageCount))
            DrawShape(canvas, *shape);
    DrawPeriod(canvas);
    DrawTable(canvas, page);
    DrawNumber(canvas);
}

QString PrintJob::NumberText() const
{
    if (m_applicationNumber.isEmpty())
        return QString();
    return QStringLiteral("申請番号 %1　%2")
        .arg(m_applicationNumber, m_printTime.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
}

void PrintJob::DrawNumber(PageCanvas& canvas) const
{
    const QString text = NumberText();
    if (text.isEmpty())
        return;
    // Small, in the top margin, its right end at the paper's right margin
    // (or the table's right end, whichever is further in).
    const QSizeF paper = m_format.PageLayout().fullRectPoints().size() * (254.0 / 72.0);
    int right = static_cast<int>(paper.width()) - 2 * m_format.leftMargin;
    if (!m_table.empty()) {
        int tableRight = 0;
        for (std::size_t c = 1; c < m_table.size(); ++c)
            tableRight = std::max(tableRight, m_table[c]->left + m_table[c]->width);
        if (tableRight > 0)
            right = std::min(right, m_table.front()->left + tableRight);
    }
    CanvasFont font{m_table.empty() ? QString() : m_table.front()->fontFace, -25};
    const CanvasSize size = canvas.Measure(font, text);
    // Clear of the paper's edge, above the layout's first items.
    constexpr int kTop = 40;
    const int top = std::max(kTop, m_format.topMargin - size.height - 20);
    canvas.Text(font, {m_format.leftMargin + right - size.width, top}, text);
}

void PrintJob::DrawPeriod(PageCanvas& canvas) const
{
    if (m_periodText.isEmpty())
        return;
    // Above the table's left end, in its header's face; a layout without a
    // table has it at the top left.
    CanvasFont font;
    int left = 0;
    int bottom = 0;
    if (!m_table.empty()) {
        const PrintItem& list = *m_table.front();
        font = FontOf(list);
        font.weight = 400;
        left = list.left;
        int columnsTop = m_table.size() > 1 ? m_table[1]->top : 0;
        for (std::size_t c = 1; c < m_table.size(); ++c)
            columnsTop = std::min(columnsTop, m_table[c]->top);
        bottom = list.top + columnsTop - kPeriodGap;
    }
    const int height = canvas.Measure(font, m_periodText).height;
    canvas.Text(font, At(left, std::max(0, bottom - height)), m_periodText);
}

QString PrintJob::TextOf(const PrintItem& item, int page) const
{
    QString text;
    switch (item.kind) {
    case PrintItem::Text:
    case PrintItem::Title:
        text = item.text;
        break;
    case PrintItem::ClaimantPost:
    case PrintItem::ClaimantIdNumber:
    case PrintItem::ClaimantName:
        text = QString(item.format)
                   .replace(QLatin1String("%1"), m_claimant[item.kind - PrintItem::ClaimantPost]);
        break;
    case PrintItem::ApplyDate:
        text = QString(item.format)
                   .replace(QLatin1String("%1"),
                            FormatEraDate(item.format2, m_printTime.toSecsSinceEpoch()));
        break;
    case PrintItem::PageNumber: {
        const QString pageText = QString(item.format2)
                                     .replace(QLatin1String("%1"), QString::number(page))
                                     .replace(QLatin1String("%2"), QString::number(m_pageCount));
        text = SafePrintf(item.format, pageText);
        break;
    }
    case PrintItem::Total:
        text =
            QString(item.format).replace(QLatin1String("%1"), LeftTrimmed(FormatAmount(m_total)));
        break;
    default:
        break;
    }
    return text;
}

void PrintJob::DrawTextItem(PageCanvas& canvas, const PrintItem& item, int page) const
{
    const QString text = TextOf(item, page);
    const CanvasFont font = FontOf(item);
    const TextItemPlace places(m_format, [&](const PrintItem& other) {
        return canvas.Measure(FontOf(other), TextOf(other, page)).width;
    });
    const CanvasRect place = places.Of(item);
    const int width = place.right - place.left;
    if (canvas.Measure(font, text).width <= width) {
        canvas.Text(font, At(item.left, item.top), text);
        return;
    }
    // Smaller, then wrapped, the last line where the text stood.
    const FittedText fitted = TextFit::Wrapped(canvas, font, width, place.bottom - place.top, text);
    int top = place.bottom - static_cast<int>(fitted.lines.size()) * fitted.lineHeight;
    for (const QString& line : fitted.lines) {
        canvas.Text(fitted.font, At(item.left, top), line);
        top += fitted.lineHeight;
    }
}

void PrintJob::DrawLine(PageCanvas& canvas, const PrintItem& item, int x1, int y1, int x2,
                        int y2) const
{
    if (item.penStyle < 0)
        return;
    canvas.Line({item.penStyle, item.penWidth}, At(x1, y1), At(x2, y2));
}

void PrintJob::DrawShape(PageCanvas& canvas, const PrintItem& item) const
{
    if (item.kind == PrintItem::Line) {
        DrawLine(canvas, item, item.left, item.top, item.right, item.bottom);
        return;
    }
    DrawLine(canvas, item, item.left, item.top, item.right, item.top);
    DrawLine(canvas, item, item.left, item.bottom, item.right, item.bottom);
    DrawLine(canvas, item, item.left, item.top, item.left, item.bottom);
    DrawLine(canvas, item, item.right, item.top, item.right, item.bottom);
}

void PrintJob::DrawStamp(PageCanvas& canvas, const PrintItem& item) const
{
    const QString caption = SafePrintf(item.format, item.text);
    const CanvasFont font = FontOf(item);
    const CanvasSize size = canvas.Measure(font, caption);
    const int captionRow = size.height + 2 * (size.height / 6);
    canvas.Text(
        font, At(item.left + (item.right - item.left - size.width) / 2, item.top + size.height / 6),
        caption);
    for (int y : {item.top, item.top + captionRow, item.bottom})
        DrawLine(canvas, item, item.left, y, item.right, y);
    for (int x : {item.left, item.right})
        DrawLine(canvas, item, x, item.top, x, item.bottom);
}

std::optional<QString> PrintJob::BusCellText(const PrintItem& column, const EntryInfo& line) const
{
    // A bus line holds its operator, line and stop on its exit side, and no
    // boarding stop; "共通" (one fare for any stop) names no stop.
    const QString& company = line.exitCompanyName;
    const QString& route = line.exitLineName;
    const QString stop =
        line.exitStationName == QStringLiteral("共通") ? QString() : line.exitStationName;
    const QString companyAndRoute = route.isEmpty()     ? company
                                    : company.isEmpty() ? route
                                                        : company + QLatin1Char(' ') + route;
    switch (column.kind) {
    case PrintItem::ColEntryCompany:
    case PrintItem::ColExitCompany:
        return company;
    case PrintItem::ColEntryLine:
    case PrintItem::ColExitLine:
        return m_companyColumn ? route : companyAndRoute;
    case PrintItem::ColEntryStation:
        return QString();
    case PrintItem::ColExitStation:
        return stop;
    default:
        return std::nullopt;
    }
}

QString PrintJob::CellText(const PrintItem& column, const EntryInfo* line, long long number) const
{
    if (column.kind == PrintItem::ColNumber)
        return SafePrintf(column.format, number);
    if (!line)
        return QString();
    if (!line->IsManual() &&
        ClassifyForImport(line->terminalType, line->processType) == ImportClass::Bus)
        if (const auto text = BusCellText(column, *line))
            return *text;
    switch (column.kind) {
    case PrintItem::ColDate:
        return DateText(column, line->dateTime);
    case PrintItem::ColEntryCompany:
        return line->entryCompanyName;
    case PrintItem::ColEntryLine:
        return line->entryLineName;
    case PrintItem::ColEntryStation:
        return line->entryStationName;
    case PrintItem::ColExitCompany:
        return line->exitCompanyName;
    case PrintItem::ColExitLine:
        return line->exitLineName;
    case PrintItem::ColExitStation:
        return line->exitStationName;
    case PrintItem::ColFare:
        // A fare the card did not hold is never a 0 on paper.
        return line->fareUnknown ? QString() : Amount(line->fare, column.align);
    case PrintItem::ColBalance:
        return Amount(line->balance, column.align);
    case PrintItem::ColVisit:
        return line->StatedVisit(); // a suggestion nobody confirmed is not claimed
    case PrintItem::ColRemarks:
        return line->remarks;
    default:
        return QString();
    }
}

QString PrintJob::DateText(const PrintItem& column, std::int64_t time) const
{
    const bool withYear = m_datesWithYear && !ShowsYear(column.format2);
    return FormatEraDate(withYear ? kDateWithYear : column.format2, time);
}

CanvasRect PrintJob::CellRect(const PrintItem& list, const PrintItem& column, int row) const
{
    const int left = list.left + column.left;
    const int top = list.top + column.top + row * list.rowHeight;
    return {left, top, left + column.width, top + list.rowHeight};
}

void PrintJob::DrawBorders(PageCanvas& canvas, const PrintItem& list, const CanvasRect& cell) const
{
    DrawLine(canvas, list, cell.left, cell.top, cell.right, cell.top);
    DrawLine(canvas, list, cell.left, cell.bottom, cell.right, cell.bottom);
    DrawLine(canvas, list, cell.left, cell.top, cell.left, cell.bottom);
    DrawLine(canvas, list, cell.right, cell.top, cell.right, cell.bottom);
}

void PrintJob::DrawCell(PageCanvas& canvas, const PrintItem& list, const PrintItem& column, int row,
                        const CanvasFont& font, int align, const QString& text) const
{
    const CanvasRect cell = CellRect(list, column, row);
    DrawBorders(canvas, list, cell);
    const CanvasPoint topLeft = At(cell.left + kPaddingLeft, cell.top);
    const CanvasPoint bottomRight = At(cell.right - kPaddingRight, cell.bottom);
    const int width = InnerWidth(column);
    const QString shown = text.isEmpty() ? QStringLiteral(" ") : text;
    const bool wraps =
        row > 0 && (column.kind == PrintItem::ColVisit || column.kind == PrintItem::ColRemarks);
    const FittedText fitted =
        wraps ? TextFit::Wrapped(canvas, font, width, list.rowHeight - 2 * kPaddingWrapped, shown)
              : TextFit::OneLine(canvas, font, width, shown);
    if (fitted.lines.size() == 1) {
        canvas.TextInRect(fitted.font, {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y},
                          CellFlags(align), fitted.lines.front());
        return;
    }
    // Several lines: one above the other, as a block in the cell's middle.
    const int lines = static_cast<int>(fitted.lines.size());
    int top = topLeft.y + (list.rowHeight - lines * fitted.lineHeight) / 2;
    const int flags = (align & (TextFlags::Center | TextFlags::Right)) | TextFlags::SingleLine |
                      TextFlags::VCenter;
    for (const QString& line : fitted.lines) {
        canvas.TextInRect(fitted.font, {topLeft.x, top, bottomRight.x, top + fitted.lineHeight},
                          flags, line);
        top += fitted.lineHeight;
    }
}

void PrintJob::DrawSum(PageCanvas& canvas, const PrintItem& list, const PrintItem& column, int row,
                       const QString& label, const QString& amount) const
{
    const int align = CellFlags(column.align);
    if (!(align & TextFlags::Right)) {
        DrawCell(canvas, list, column, row, FontOf(column), align,
                 label + QLatin1Char(' ') + amount);
        return;
    }
    // The word at the cell's left, the amount at its right, as the amounts above.
    const CanvasRect cell = CellRect(list, column, row);
    DrawBorders(canvas, list, cell);
    const CanvasPoint topLeft = At(cell.left + kPaddingLeft, cell.top);
    const CanvasPoint bottomRight = At(cell.right - kPaddingRight, cell.bottom);
    const FittedText fitted = TextFit::OneLine(canvas, FontOf(column), InnerWidth(column),
                                               label + QStringLiteral("  ") + amount);
    const CanvasRect inner{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    canvas.TextInRect(fitted.font, inner, align & ~TextFlags::Right, label);
    canvas.TextInRect(fitted.font, inner, align, amount);
}

CanvasFont PrintJob::DateFont(PageCanvas& canvas, const PrintItem& column, int page) const
{
    // One size for the page's dates, the one the widest of them fits in.
    CanvasFont font = FontOf(column);
    for (const EntryInfo* line : LinesOnPages(page, page)) {
        const CanvasFont fitted =
            TextFit::OneLine(canvas, font, InnerWidth(column), DateText(column, line->dateTime))
                .font;
        if (std::abs(fitted.height) < std::abs(font.height))
            font = fitted;
    }
    return font;
}

void PrintJob::DrawTable(PageCanvas& canvas, int page) const
{
    if (m_table.size() < 2 || m_table.front()->kind != PrintItem::List)
        return;
    const PrintItem& list = *m_table.front();
    const int onPage = LinesOnPage(page);
    const long long first = static_cast<long long>(page - 1) * m_rowsPerPage;
    const bool fill = list.pages == PrintItem::FillRows;
    for (std::size_t c = 1; c < m_table.size(); ++c) {
        const PrintItem& column = *m_table[c];
        if (!IsSelected(column.pages, page, m_pageCount))
            continue;
        DrawCell(canvas, list, column, 0, FontOf(list), list.align, column.text);
        const CanvasFont font =
            column.kind == PrintItem::ColDate ? DateFont(canvas, column, page) : FontOf(column);
        const int rows = fill ? m_rowsPerPage : onPage;
        for (int j = 0; j < rows; ++j) {
            const EntryInfo* line =
                j < onPage ? m_lines[static_cast<std::size_t>(first + j)] : nullptr;
            DrawCell(canvas, list, column, j + 1, font, column.align,
                     CellText(column, line, first + j + 1));
        }
        if (column.kind != PrintItem::ColFare)
            continue;
        // Below the rows: this page's subtotal when there are several pages,
        // then on the last page the total.
        const auto parts = SumParts(column.format2);
        const QString suffix = parts ? parts->second : QString();
        int row = rows + 1;
        if (m_pageCount > 1)
            DrawSum(canvas, list, column, row++, QStringLiteral("小計"),
                    LeftTrimmed(FormatAmount(PageTotal(page))) + suffix);
        if (page != m_pageCount || column.format2.isEmpty())
            continue;
        if (parts)
            DrawSum(canvas, list, column, row, parts->first,
                    LeftTrimmed(FormatAmount(m_total)) + suffix);
        else
            DrawCell(canvas, list, column, row, FontOf(column), column.align,
                     SafePrintf(column.format2, FormatAmount(m_total)));
    }
}
