#pragma once

#include "ClaimRules.h"

#include <QSortFilterProxyModel>

class CCorvaneDoc;
struct EntryInfo;

// The rows the history list shows: the claim's lines in the document's order,
// less those the filter ("全て表示", the period) leaves out. The rule itself
// is the core's (IsListed); hidden lines stay in the document untouched.
class ListedLinesModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    ListedLinesModel(const CCorvaneDoc& doc, QObject* parent = nullptr);

    void SetFilter(const ClaimFilter& filter);
    const ClaimFilter& Filter() const { return m_filter; }

    // The line of a listed row, and its position in the document.
    const EntryInfo* Line(int row) const;
    std::size_t Position(int row) const;
    // The listed row of a document position; -1 when it is not listed.
    int RowOfPosition(std::size_t position) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    const CCorvaneDoc& m_doc;
    ClaimFilter m_filter;
};
