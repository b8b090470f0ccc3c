#pragma once

#include "ClaimRules.h"

#include <QAbstractProxyModel>
#include <QPersistentModelIndex>
#include <vector>

class CCorvaneDoc;
struct EntryInfo;

// The rows the history list shows: the claim's lines in the document's order,
// less those the filter ("全て表示", the period) leaves out. The rule itself
// is the core's (IsListed); hidden lines stay in the document untouched.
// A flat map of listed source rows, kept in step with every insert, removal,
// change and reorder of the source, so one change costs no more than moving
// a row index array (a claim may hold 100,000 lines).
class ListedLinesModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    ListedLinesModel(const CCorvaneDoc& doc, QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;
    QModelIndex mapToSource(const QModelIndex& proxy) const override;
    QModelIndex mapFromSource(const QModelIndex& source) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;

    void SetFilter(const ClaimFilter& filter);
    const ClaimFilter& Filter() const { return m_filter; }

    // The document positions of the listed lines, ascending.
    const std::vector<int>& Positions() const { return m_rows; }
    // The line of a listed row, and its position in the document.
    const EntryInfo* Line(int row) const;
    std::size_t Position(int row) const;
    // The listed row of a document position; -1 when it is not listed.
    int RowOfPosition(std::size_t position) const;

private:
    bool Accepts(int sourceRow) const;
    std::vector<int> ListedRows() const;
    // The first listed row whose source row is at least sourceRow.
    int LowerBound(int sourceRow) const;

    void OnRowsInserted(const QModelIndex& parent, int first, int last);
    void OnRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);
    void OnRowsRemoved(const QModelIndex& parent, int first, int last);
    void OnDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                       const QList<int>& roles);
    void OnLayoutAboutToBeChanged();
    void OnLayoutChanged();

    const CCorvaneDoc& m_doc;
    ClaimFilter m_filter;
    std::vector<int> m_rows; // listed source rows, ascending
    std::vector<QMetaObject::Connection> m_connections;
    // Between the source's removal signals: the listed rows going.
    std::pair<int, int> m_removing{0, 0};
    // Across a source reorder: where each persistent row's source line is.
    QModelIndexList m_persistentBefore;
    QList<QPersistentModelIndex> m_persistentSource;
};
