#include "ListColumns.h"

#include "AppSettings.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

namespace
{
constexpr int kBalanceWidth = 80;
// Columns whose stored or default width says nothing usable get this one.
constexpr int kFallbackWidth = 100;
} // namespace

ListColumns::ListColumns(QTableView& list, AppSettings& settings, QObject* parent)
    : QObject(parent), m_list(list), m_settings(settings), m_viewport(list.viewport())
{
    list.viewport()->installEventFilter(this);
    connect(m_list.horizontalHeader(), &QHeaderView::sectionResized, this, &ListColumns::OnResized);
}

bool ListColumns::Shrinks(int column)
{
    switch (column) {
    case EntryTableModel::Print:
    case EntryTableModel::Date:
    case EntryTableModel::Fare:
    case EntryTableModel::Balance:
    case EntryTableModel::Applied:
        return false;
    default:
        return true;
    }
}

std::array<int, 12> ListColumns::Parse(const QString& text)
{
    std::array<int, 12> widths{};
    const QStringList tokens = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int c = 0; c < 12; ++c) {
        widths[static_cast<std::size_t>(c)] = EntryTableModel::DefaultWidth(c);
        if (c < tokens.size())
            widths[static_cast<std::size_t>(c)] = std::atoi(tokens[c].toUtf8().constData());
    }
    return widths;
}

void ListColumns::Restore()
{
    const auto stored = Parse(m_settings.ListControlWidth);
    for (int c = 0; c < EntryTableModel::ColumnCount; ++c) {
        int width = c < EntryTableModel::StoredColumnCount ? stored[static_cast<std::size_t>(c)]
                                                           : EntryTableModel::DefaultWidth(c);
        if (c == EntryTableModel::Balance)
            width = kBalanceWidth; // shown or hidden by "全て表示"
        m_wanted[static_cast<std::size_t>(c)] = width > 0 ? width : kFallbackWidth;
    }
    Fit();
}

void ListColumns::Save() const
{
    QStringList widths;
    for (int c = 0; c < EntryTableModel::StoredColumnCount; ++c)
        widths << QString::number(m_list.isColumnHidden(c) ? 0
                                                           : m_wanted[static_cast<std::size_t>(c)]);
    m_settings.ListControlWidth = widths.join(QLatin1Char(','));
}

void ListColumns::SetHidden(int column, bool hidden)
{
    if (m_list.isColumnHidden(column) == hidden)
        return;
    m_list.setColumnHidden(column, hidden);
    Fit();
}

int ListColumns::FullWidth() const
{
    int width = m_list.verticalScrollBar()->sizeHint().width() + 2 * m_list.frameWidth();
    for (int c = 0; c < EntryTableModel::ColumnCount; ++c)
        if (!m_list.isColumnHidden(c))
            width += m_wanted[static_cast<std::size_t>(c)];
    return width;
}

int ListColumns::MinimumWidth() const
{
    // Three characters and the ellipsis.
    return m_list.fontMetrics().horizontalAdvance(QStringLiteral("東京駅…")) + 8;
}

void ListColumns::Fit()
{
    std::vector<int> shrinking;
    int fixed = 0;
    for (int c = 0; c < EntryTableModel::ColumnCount; ++c) {
        if (m_list.isColumnHidden(c))
            continue;
        if (Shrinks(c))
            shrinking.push_back(c);
        else
            fixed += m_wanted[static_cast<std::size_t>(c)];
    }
    std::array<int, EntryTableModel::ColumnCount> widths = m_wanted;
    // A list not shown yet has no width of its own to fit into.
    const int room =
        m_list.isVisible() ? m_list.viewport()->width() - fixed : std::numeric_limits<int>::max();
    const auto wanted = [this](int c) { return m_wanted[static_cast<std::size_t>(c)]; };
    int want = 0;
    for (const int c : shrinking)
        want += wanted(c);
    if (want > room && !shrinking.empty()) {
        // Each gives way in proportion to its width; one at its least keeps
        // that, and the others share what is left.
        const int least = MinimumWidth();
        std::vector<int> open = shrinking;
        int left = std::max(room, 0);
        bool settled = false;
        while (!settled && !open.empty()) {
            settled = true;
            int share = 0;
            for (const int c : open)
                share += wanted(c);
            for (auto it = open.begin(); it != open.end(); ++it) {
                const int width = share > 0 ? wanted(*it) * left / share : least;
                if (width < std::min(least, wanted(*it))) {
                    widths[static_cast<std::size_t>(*it)] = std::min(least, wanted(*it));
                    left -= widths[static_cast<std::size_t>(*it)];
                    open.erase(it);
                    settled = false;
                    break;
                }
            }
        }
        int share = 0;
        for (const int c : open)
            share += wanted(c);
        for (const int c : open)
            widths[static_cast<std::size_t>(c)] =
                share > 0 ? wanted(c) * std::max(left, 0) / share : least;
    }
    m_fitting = true;
    for (int c = 0; c < EntryTableModel::ColumnCount; ++c)
        if (!m_list.isColumnHidden(c) &&
            m_list.columnWidth(c) != widths[static_cast<std::size_t>(c)])
            m_list.setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    m_fitting = false;
}

void ListColumns::OnResized(int column, int, int newWidth)
{
    // The user's drag sets what the column wants; a fit, the stretch of the
    // last column and hiding (width 0) do not.
    const QHeaderView* header = m_list.horizontalHeader();
    const bool stretched =
        header->stretchLastSection() && header->visualIndex(column) == header->count() - 1;
    if (m_fitting || stretched || newWidth <= 0 || column < 0 ||
        column >= EntryTableModel::ColumnCount)
        return;
    m_wanted[static_cast<std::size_t>(column)] = newWidth;
}

bool ListColumns::eventFilter(QObject* watched, QEvent* event)
{
    // Compared by address: events still come while the list is destroyed.
    if (watched == m_viewport && event->type() == QEvent::Resize)
        Fit();
    return QObject::eventFilter(watched, event);
}
