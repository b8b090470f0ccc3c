#pragma once

#include "EntryInfo.h"

#include <QAbstractTableModel>
#include <QDate>
#include <cstddef>
#include <functional>
#include <vector>

class CCorvaneDoc;

// The claim's lines as a table, one row per line of the document in its
// order; the document keeps owning them. Column 0 is the claim mark (check
// state): setData turns a click into the document's undoable mark command,
// and the rows follow the document's signals. The list shows this model
// through ListedLinesModel, which leaves out what the filter hides.
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
        // Not a column of the stored widths: the day a recorded application
        // claimed the line, shown beside the mark.
        Applied,
        // The card a line came from: the name the user gave it, or its ID's
        // last digits. Shown when the claim holds lines of several cards.
        Card,
        ColumnCount,
        StoredColumnCount = Applied
    };

    explicit EntryTableModel(CCorvaneDoc& doc, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const EntryInfo* Line(int row) const;
    void SetZebra(bool zebra);
    // Asked before a line a recorded application claimed is marked again;
    // true to mark it.
    void SetReclaimQuestion(std::function<bool(const EntryInfo&, const QDate&)> question)
    {
        m_reclaim = std::move(question);
    }
    // What the カード column says of the card read under this ID: the name
    // the user gave it, else its ID's last digits ("****3906").
    void SetCardLabels(std::function<QString(const CardId&)> labels)
    {
        m_cardLabels = std::move(labels);
    }
    // The names changed: the カード column is shown again.
    void CardNamesChanged();
    // A fare the card did not hold, and why, in the fare column.
    static QString UnknownFareText();
    static QString UnknownFareTip();
    // The tip of a visit destination suggested and not confirmed yet.
    static QString SuggestionTip(const QString& visit);
    // The text of the question for a line claimed on that day.
    static QString ReclaimQuestion(const QDate& day);

    static QString Header(int column);
    static QString DateText(std::int64_t dateTime);
    static int DefaultWidth(int column);

private:
    void Connect();
    QString CardText(const EntryInfo& line) const;
    void OnReordered(const std::vector<std::size_t>& order);

    CCorvaneDoc& m_doc;
    bool m_zebra = false;
    std::function<bool(const EntryInfo&, const QDate&)> m_reclaim;
    std::function<QString(const CardId&)> m_cardLabels;
};
