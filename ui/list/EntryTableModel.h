#pragma once

#include "EntryInfo.h"

#include <QAbstractTableModel>
#include <vector>

// The history list's rows: each refers to one line of the document, which
// keeps owning it. Column 0 is the claim mark (check state); the check-change
// rules are setData's. Changing a mark through the model is reported with
// CheckChanged, so the form can mark the document modified and recount.
class EntryTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        Print,
        Date,
        EntryCompany,
        EntryLine,
        EntryStation,
        ExitCompany,
        ExitLine,
        ExitStation,
        Fare,
        Balance,
        Visit,
        Remarks,
        ColumnCount
    };

    explicit EntryTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Rebuilds every row (no check-change rule applies while filling).
    void SetRows(std::vector<EntryInfo*> rows);
    const std::vector<EntryInfo*>& Rows() const { return m_rows; }
    EntryInfo* Line(int row) const;
    int RowOf(const EntryInfo* line) const;
    // Rows in a new order (the line shown at each position, by old position).
    void Reorder(const std::vector<int>& order);
    void InsertRow(int row, EntryInfo* line);
    void RemoveRow(int row);
    // The row's texts changed (after an edit).
    void RowChanged(int row);
    // Applies the check-change rules; false when the mark may not change.
    bool SetChecked(int row, bool checked);

    void SetZebra(bool zebra);

    static QString Header(int column);
    static QString DateText(std::int64_t dateTime);
    static int DefaultWidth(int column);

Q_SIGNALS:
    void CheckChanged(int row);

private:
    std::vector<EntryInfo*> m_rows;
    bool m_zebra = false;
};
