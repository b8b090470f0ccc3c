#include "EntryTableModel.h"

#include "ClaimRules.h"
#include "TextFormat.h"

#include <QBrush>
#include <QDateTime>
#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <cstdlib>

namespace
{
struct ColumnInfo {
    const char16_t* header;
    Qt::Alignment align;
    int width;
};

// Headers, alignment and default widths; the balance column is sized by the
// show-all state, the line columns start collapsed.
const std::array<ColumnInfo, EntryTableModel::ColumnCount> kColumns = {{
    {u"印刷", Qt::AlignCenter, 40},
    {u"日付", Qt::AlignCenter, 80},
    {u"入場会社名", Qt::AlignLeft | Qt::AlignVCenter, 120},
    {u"入場路線名", Qt::AlignLeft | Qt::AlignVCenter, -1},
    {u"入場駅名", Qt::AlignLeft | Qt::AlignVCenter, 120},
    {u"出場会社名", Qt::AlignLeft | Qt::AlignVCenter, 120},
    {u"出場路線名", Qt::AlignLeft | Qt::AlignVCenter, -1},
    {u"出場駅名", Qt::AlignLeft | Qt::AlignVCenter, 120},
    {u"料金/入金額", Qt::AlignLeft | Qt::AlignVCenter, 80},
    {u"残高", Qt::AlignLeft | Qt::AlignVCenter, 80},
    {u"訪問先", Qt::AlignRight | Qt::AlignVCenter, 120},
    {u"備考", Qt::AlignRight | Qt::AlignVCenter, 120},
}};

QString CellText(const EntryInfo& line, int column)
{
    switch (column) {
    case EntryTableModel::Date:
        return EntryTableModel::DateText(line.dateTime);
    case EntryTableModel::EntryCompany:
        return line.entryCompanyName;
    case EntryTableModel::EntryLine:
        return line.entryLineName;
    case EntryTableModel::EntryStation:
        return line.entryStationName;
    case EntryTableModel::ExitCompany:
        return line.exitCompanyName;
    case EntryTableModel::ExitLine:
        return line.exitLineName;
    case EntryTableModel::ExitStation:
        return line.exitStationName;
    case EntryTableModel::Fare:
        return FormatAmount(std::llabs(static_cast<long long>(line.fare)));
    case EntryTableModel::Balance:
        return FormatAmount(line.balance);
    case EntryTableModel::Visit:
        return line.visitDestination;
    case EntryTableModel::Remarks:
        return line.remarks;
    default:
        return QString();
    }
}
} // namespace

EntryTableModel::EntryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

QString EntryTableModel::Header(int column)
{
    return column >= 0 && column < ColumnCount
               ? QString::fromUtf16(kColumns[static_cast<std::size_t>(column)].header)
               : QString();
}

int EntryTableModel::DefaultWidth(int column)
{
    return column >= 0 && column < ColumnCount ? kColumns[static_cast<std::size_t>(column)].width
                                               : 0;
}

QString EntryTableModel::DateText(std::int64_t dateTime)
{
    return QDateTime::fromSecsSinceEpoch(dateTime).toString(QStringLiteral("yyyy/MM/dd"));
}

int EntryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int EntryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

EntryInfo* EntryTableModel::Line(int row) const
{
    return row >= 0 && row < rowCount() ? m_rows[static_cast<std::size_t>(row)] : nullptr;
}

int EntryTableModel::RowOf(const EntryInfo* line) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i] == line)
            return static_cast<int>(i);
    return -1;
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const
{
    const EntryInfo* line = Line(index.row());
    if (!line || index.column() < 0 || index.column() >= ColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return CellText(*line, index.column());
    case Qt::CheckStateRole:
        if (index.column() == Print)
            return line->applyFlag == 1 ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(kColumns[static_cast<std::size_t>(index.column())].align);
    case Qt::ForegroundRole:
        // Lines not claimed are greyed.
        if (line->applyFlag != 1)
            return QBrush(QColor(128, 128, 128));
        return {};
    case Qt::BackgroundRole:
        if (m_zebra && index.row() % 2 == 1)
            return QGuiApplication::palette().brush(QPalette::Midlight);
        return {};
    default:
        return {};
    }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return Header(section);
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags EntryTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Print)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool EntryTableModel::SetChecked(int row, bool checked)
{
    EntryInfo* line = Line(row);
    if (!line)
        return false;
    if ((line->applyFlag == 1) == checked)
        return true; // no change
    if (!CanApply(*line))
        return false;
    line->applyFlag = checked ? 1 : 0;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
    Q_EMIT CheckChanged(row);
    return true;
}

bool EntryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != Print)
        return false;
    return SetChecked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
}

void EntryTableModel::SetRows(std::vector<EntryInfo*> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void EntryTableModel::Reorder(const std::vector<int>& order)
{
    if (order.size() != m_rows.size())
        return;
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<int> newPosition(m_rows.size());
    std::vector<EntryInfo*> rows;
    for (std::size_t i = 0; i < order.size(); ++i) {
        rows.push_back(m_rows[static_cast<std::size_t>(order[i])]);
        newPosition[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    }
    m_rows = std::move(rows);
    QModelIndexList after;
    for (const QModelIndex& old : before)
        after << index(newPosition[static_cast<std::size_t>(old.row())], old.column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

void EntryTableModel::InsertRow(int row, EntryInfo* line)
{
    row = std::clamp(row, 0, rowCount());
    beginInsertRows({}, row, row);
    m_rows.insert(m_rows.begin() + row, line);
    endInsertRows();
}

void EntryTableModel::RemoveRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void EntryTableModel::RowChanged(int row)
{
    if (row >= 0 && row < rowCount())
        Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void EntryTableModel::SetZebra(bool zebra)
{
    if (m_zebra == zebra)
        return;
    m_zebra = zebra;
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1),
                           {Qt::BackgroundRole});
}
