#pragma once

#include "EntryInfo.h"
#include "PageCanvas.h"
#include "PrintFormat.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// One print, preview or PDF run of a claim: the lines marked for claiming,
// laid out by a layout over pages of its table's rows.
class PrintJob
{
public:
    explicit PrintJob(const PrintFormat& format);

    // Takes the lines whose applyFlag is 1; returns the page count. A claim
    // with no line still gets one page (its table header and filler rows).
    int Prepare(const std::vector<const EntryInfo*>& lines, const std::array<QString, 3>& claimant,
                const QDateTime& printTime);
    int Prepare(const EntryLines& lines, const std::array<QString, 3>& claimant,
                const QDateTime& printTime);
    // The job keeps pointers to the lines: they must outlive it.
    int Prepare(EntryLines&&, const std::array<QString, 3>&, const QDateTime&) = delete;
    // Draws page 1..PageCount().
    void PrintPage(PageCanvas& canvas, int page) const;

    int PageCount() const { return m_pageCount; }
    int RowsPerPage() const { return m_rowsPerPage; }
    std::int64_t Total() const { return m_total; }
    const std::vector<const EntryInfo*>& Lines() const { return m_lines; }
    // The lines that pages first..last show (clamped to the job's pages). A
    // layout without a table shows its one page for the whole claim.
    std::vector<const EntryInfo*> LinesOnPages(int first, int last) const;

    // Whether an item with this pages value appears on page p of n.
    static bool IsSelected(std::int32_t pages, int page, int pageCount);
    // The time through JapaneseStrftime, with %E first replaced by the 令和 year.
    static QString FormatEraDate(const QString& format, std::int64_t time);

private:
    CanvasPoint At(int x, int y) const { return {m_format.leftMargin + x, m_format.topMargin + y}; }
    void DrawTextItem(PageCanvas& canvas, const PrintItem& item, int page) const;
    void DrawShape(PageCanvas& canvas, const PrintItem& item) const;
    void DrawStamp(PageCanvas& canvas, const PrintItem& item) const;
    void DrawTable(PageCanvas& canvas, int page) const;
    void DrawCell(PageCanvas& canvas, const PrintItem& list, const PrintItem& column, int row,
                  const CanvasFont& font, int align, const QString& text) const;
    void DrawLine(PageCanvas& canvas, const PrintItem& item, int x1, int y1, int x2, int y2) const;
    QString CellText(const PrintItem& column, const EntryInfo* line, long long number) const;
    int LinesOnPage(int page) const;

    const PrintFormat& m_format;
    std::vector<const PrintItem*> m_table;
    std::vector<const PrintItem*> m_texts;
    std::vector<const PrintItem*> m_shapes;
    std::vector<const PrintItem*> m_stamps;
    std::array<QString, 3> m_claimant;
    QDateTime m_printTime;
    std::vector<const EntryInfo*> m_lines;
    std::int64_t m_total = 0;
    int m_rowsPerPage = 1;
    int m_pageCount = 1;
};
