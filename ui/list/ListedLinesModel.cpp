#include "ListedLinesModel.h"

#include "CCorvaneDoc.h"

ListedLinesModel::ListedLinesModel(const CCorvaneDoc& doc, QObject* parent)
    : QSortFilterProxyModel(parent), m_doc(doc)
{
}

void ListedLinesModel::SetFilter(const ClaimFilter& filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    invalidateFilter();
}

bool ListedLinesModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    const auto& lines = m_doc.Lines();
    return sourceRow >= 0 && static_cast<std::size_t>(sourceRow) < lines.size() &&
           IsListed(*lines[static_cast<std::size_t>(sourceRow)], m_filter);
}

std::size_t ListedLinesModel::Position(int row) const
{
    return static_cast<std::size_t>(mapToSource(index(row, 0)).row());
}

const EntryInfo* ListedLinesModel::Line(int row) const
{
    const int source = mapToSource(index(row, 0)).row();
    return source >= 0 ? m_doc.Lines()[static_cast<std::size_t>(source)].get() : nullptr;
}

int ListedLinesModel::RowOfPosition(std::size_t position) const
{
    if (!sourceModel() || position >= m_doc.Lines().size())
        return -1;
    return mapFromSource(sourceModel()->index(static_cast<int>(position), 0)).row();
}
