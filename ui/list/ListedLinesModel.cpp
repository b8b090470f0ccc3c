#include "ListedLinesModel.h"

#include "CCorvaneDoc.h"

#include <algorithm>

ListedLinesModel::ListedLinesModel(const CCorvaneDoc& doc, QObject* parent)
    : QAbstractProxyModel(parent), m_doc(doc)
{
}

void ListedLinesModel::setSourceModel(QAbstractItemModel* source)
{
    beginResetModel();
    for (const auto& connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        m_connections = {
            connect(source, &QAbstractItemModel::modelAboutToBeReset, this,
                    [this] { beginResetModel(); }),
            connect(source, &QAbstractItemModel::modelReset, this,
                    [this] {
                        m_rows = ListedRows();
                        endResetModel();
                    }),
            connect(source, &QAbstractItemModel::rowsInserted, this,
                    &ListedLinesModel::OnRowsInserted),
            connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                    &ListedLinesModel::OnRowsAboutToBeRemoved),
            connect(source, &QAbstractItemModel::rowsRemoved, this,
                    &ListedLinesModel::OnRowsRemoved),
            connect(source, &QAbstractItemModel::dataChanged, this,
                    &ListedLinesModel::OnDataChanged),
            connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this,
                    &ListedLinesModel::OnLayoutAboutToBeChanged),
            connect(source, &QAbstractItemModel::layoutChanged, this,
                    &ListedLinesModel::OnLayoutChanged),
            connect(source, &QAbstractItemModel::headerDataChanged, this,
                    &QAbstractItemModel::headerDataChanged),
        };
    }
    m_rows = ListedRows();
    endResetModel();
}

bool ListedLinesModel::Accepts(int sourceRow) const
{
    const auto& lines = m_doc.Lines();
    return sourceRow >= 0 && static_cast<std::size_t>(sourceRow) < lines.size() &&
           IsListed(*lines[static_cast<std::size_t>(sourceRow)], m_filter);
}

std::vector<int> ListedLinesModel::ListedRows() const
{
    return sourceModel() ? ListedPositions(m_doc.Lines(), m_filter) : std::vector<int>();
}

int ListedLinesModel::LowerBound(int sourceRow) const
{
    return static_cast<int>(std::lower_bound(m_rows.begin(), m_rows.end(), sourceRow) -
                            m_rows.begin());
}

void ListedLinesModel::SetFilter(const ClaimFilter& filter)
{
    if (filter == m_filter)
        return;
    beginResetModel();
    m_filter = filter;
    m_rows = ListedRows();
    endResetModel();
}

QModelIndex ListedLinesModel::mapToSource(const QModelIndex& proxy) const
{
    if (!proxy.isValid() || !sourceModel() || proxy.row() >= rowCount())
        return {};
    return sourceModel()->index(m_rows[static_cast<std::size_t>(proxy.row())], proxy.column());
}

QModelIndex ListedLinesModel::mapFromSource(const QModelIndex& source) const
{
    if (!source.isValid())
        return {};
    const int row = LowerBound(source.row());
    if (row >= rowCount() || m_rows[static_cast<std::size_t>(row)] != source.row())
        return {};
    return index(row, source.column());
}

QModelIndex ListedLinesModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex ListedLinesModel::parent(const QModelIndex&) const
{
    return {};
}

int ListedLinesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ListedLinesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

std::size_t ListedLinesModel::Position(int row) const
{
    return static_cast<std::size_t>(m_rows.at(static_cast<std::size_t>(row)));
}

const EntryInfo* ListedLinesModel::Line(int row) const
{
    return row >= 0 && row < rowCount() ? m_doc.Lines()[Position(row)].get() : nullptr;
}

int ListedLinesModel::RowOfPosition(std::size_t position) const
{
    if (!sourceModel() || position >= m_doc.Lines().size())
        return -1;
    return mapFromSource(sourceModel()->index(static_cast<int>(position), 0)).row();
}

void ListedLinesModel::OnRowsInserted(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    const int count = last - first + 1;
    const int at = LowerBound(first);
    for (auto row = m_rows.begin() + at; row != m_rows.end(); ++row)
        *row += count;
    std::vector<int> listed;
    for (int row = first; row <= last; ++row)
        if (Accepts(row))
            listed.push_back(row);
    if (listed.empty())
        return;
    beginInsertRows({}, at, at + static_cast<int>(listed.size()) - 1);
    m_rows.insert(m_rows.begin() + at, listed.begin(), listed.end());
    endInsertRows();
}

void ListedLinesModel::OnRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    m_removing = {LowerBound(first), LowerBound(last + 1)};
    if (m_removing.first < m_removing.second)
        beginRemoveRows({}, m_removing.first, m_removing.second - 1);
}

void ListedLinesModel::OnRowsRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    const auto [from, to] = m_removing;
    m_rows.erase(m_rows.begin() + from, m_rows.begin() + to);
    const int count = last - first + 1;
    for (auto row = m_rows.begin() + from; row != m_rows.end(); ++row)
        *row -= count;
    if (from < to)
        endRemoveRows();
    m_removing = {0, 0};
}

void ListedLinesModel::OnDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                     const QList<int>& roles)
{
    if (!topLeft.isValid() || topLeft.parent().isValid())
        return;
    // A change may bring a line into the list or take it out (a fare edited
    // to 0 while 全て表示 is unticked); every other listed row just changed.
    for (int source = topLeft.row(); source <= bottomRight.row(); ++source) {
        const int row = LowerBound(source);
        const bool listed = row < rowCount() && m_rows[static_cast<std::size_t>(row)] == source;
        const bool accepted = Accepts(source);
        if (listed && !accepted) {
            beginRemoveRows({}, row, row);
            m_rows.erase(m_rows.begin() + row);
            endRemoveRows();
        } else if (!listed && accepted) {
            beginInsertRows({}, row, row);
            m_rows.insert(m_rows.begin() + row, source);
            endInsertRows();
        } else if (listed) {
            Q_EMIT dataChanged(index(row, topLeft.column()), index(row, bottomRight.column()),
                               roles);
        }
    }
}

void ListedLinesModel::OnLayoutAboutToBeChanged()
{
    Q_EMIT layoutAboutToBeChanged();
    m_persistentBefore = persistentIndexList();
    m_persistentSource.clear();
    for (const QModelIndex& proxy : m_persistentBefore)
        m_persistentSource << QPersistentModelIndex(mapToSource(proxy));
}

void ListedLinesModel::OnLayoutChanged()
{
    m_rows = ListedRows();
    QModelIndexList after;
    after.reserve(m_persistentBefore.size());
    for (const QPersistentModelIndex& source : m_persistentSource)
        after << mapFromSource(source);
    changePersistentIndexList(m_persistentBefore, after);
    m_persistentBefore.clear();
    m_persistentSource.clear();
    Q_EMIT layoutChanged();
}
