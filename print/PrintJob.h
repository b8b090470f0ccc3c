#pragma once

#include "ClaimRules.h"
#include "EntryInfo.h"
#include "PageCanvas.h"
#include "PrintFormat.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// One print, preview or PDF run of a claim: the lines marked for claiming,
// laid out by a layout over pages of its table's rows, with the period they
// were claimed for above the table, a subtotal below each page's rows when
// there are several pages and the total on the last.
class PrintJob
{
public:
    explicit PrintJob(const PrintFormat& format);

    // Takes the lines whose applyFlag is 1; returns the page count. A claim
    // with no line still gets one page (its table header and filler rows).
    // The period is the one the lines were chosen by (its from and until);
    // an open end is the printed lines' first or last day.
    int Prepare(const std::vector<const EntryInfo*>& lines, const std::array<QString, 3>& claimant,
                const QDateTime& printTime, const ClaimFilter& period = {});
    int Prepare(const EntryLines& lines, const std::array<QString, 3>& claimant,
                const QDateTime& printTime, const ClaimFilter& period = {});
    // The job keeps pointers to the lines: they must outlive it.
    int Prepare(EntryLines&&, const std::array<QString, 3>&, const QDateTime&,
                const ClaimFilter& = {}) = delete;
    // A recorded application's paper carries its number and print time,
    // small, at the top right of every page; an empty id prints none.
    void SetApplicationNumber(const QString& id) { m_applicationNumber = id; }
    // "申請番号 A00012　2026/11/30 09:15:00"; empty without a number.
    QString NumberText() const;
    // Draws page 1..PageCount().
    void PrintPage(PageCanvas& canvas, int page) const;

    int PageCount() const { return m_pageCount; }
    int RowsPerPage() const { return m_rowsPerPage; }
    std::int64_t Total() const { return m_total; }
    // The sum of the lines page p shows.
    std::int64_t PageTotal(int page) const;
    // "対象期間 2026年11月1日～2026年11月30日"; empty for a claim without
    // lines and without a period.
    const QString& PeriodText() const { return m_periodText; }
    // Whether dates print with their year: the lines span several years.
    bool DatesWithYear() const { return m_datesWithYear; }
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
    QString TextOf(const PrintItem& item, int page) const;
    void DrawTextItem(PageCanvas& canvas, const PrintItem& item, int page) const;
    void DrawShape(PageCanvas& canvas, const PrintItem& item) const;
    void DrawStamp(PageCanvas& canvas, const PrintItem& item) const;
    void DrawPeriod(PageCanvas& canvas) const;
    void DrawNumber(PageCanvas& canvas) const;
    void DrawTable(PageCanvas& canvas, int page) const;
    CanvasRect CellRect(const PrintItem& list, const PrintItem& column, int row) const;
    void DrawBorders(PageCanvas& canvas, const PrintItem& list, const CanvasRect& cell) const;
    void DrawCell(PageCanvas& canvas, const PrintItem& list, const PrintItem& column, int row,
                  const CanvasFont& font, int align, const QString& text) const;
    void DrawSum(PageCanvas& canvas, const PrintItem& list, const PrintItem& column, int row,
                 const QString& label, const QString& amount) const;
    void DrawLine(PageCanvas& canvas, const PrintItem& item, int x1, int y1, int x2, int y2) const;
    QString CellText(const PrintItem& column, const EntryInfo* line, long long number) const;
    std::optional<QString> BusCellText(const PrintItem& column, const EntryInfo& line) const;
    QString DateText(const PrintItem& column, std::int64_t time) const;
    CanvasFont DateFont(PageCanvas& canvas, const PrintItem& column, int page) const;
    int LinesOnPage(int page) const;

    const PrintFormat& m_format;
    std::vector<const PrintItem*> m_table;
    std::vector<const PrintItem*> m_texts;
    std::vector<const PrintItem*> m_shapes;
    std::vector<const PrintItem*> m_stamps;
    std::array<QString, 3> m_claimant;
    QDateTime m_printTime;
    QString m_applicationNumber;
    std::vector<const EntryInfo*> m_lines;
    std::int64_t m_total = 0;
    QString m_periodText;
    bool m_datesWithYear = false;
    // The layout prints companies in a column of their own.
    bool m_companyColumn = false;
    int m_rowsPerPage = 1;
    int m_pageCount = 1;
};
