#pragma once

#include "EntryTableModel.h"

#include <QObject>
#include <QString>
#include <array>

class AppSettings;
class QTableView;

// The widths of the list's columns: the user's (kept in ListControlWidth),
// and the list fitted into its window. When the window is narrower than the
// columns want, the text columns (companies, lines, stations, 訪問先, 備考,
// カード) give way, down to a few characters each, their texts elided with the
// whole text as tooltip; the mark, date and amount columns never shrink, so
// no horizontal scrolling takes them out of sight.
class ListColumns : public QObject
{
    Q_OBJECT

public:
    ListColumns(QTableView& list, AppSettings& settings, QObject* parent = nullptr);

    // The user's widths from ListControlWidth.
    void Restore();
    // Back into ListControlWidth: the widths the user chose, not the fitted ones.
    void Save() const;
    void SetHidden(int column, bool hidden);
    // The width every shown column wants, with the list's frame and scroll bar.
    int FullWidth() const;
    // Into the list's width now (also done whenever it changes size).
    void Fit();

    // Whether a column may give way when the window is narrow.
    static bool Shrinks(int column);
    // "50,,90" -> 50, 90 and the defaults; consecutive commas count as one.
    static std::array<int, 12> Parse(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnResized(int column, int oldWidth, int newWidth);
    int MinimumWidth() const;

    QTableView& m_list;
    AppSettings& m_settings;
    const QObject* m_viewport;
    std::array<int, EntryTableModel::ColumnCount> m_wanted{};
    bool m_fitting = false;
};
