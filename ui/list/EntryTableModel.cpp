#include "EntryTableModel.h"

#include "CCorvaneDoc.h"
#include "CardIdentity.h"
#include "ClaimRules.h"
#include "TextFormat.h"

#include <QBrush>
#include <QDateTime>
#include <QFont>
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
// show-all state. Amounts are right-aligned, texts left-aligned.
const std::array<ColumnInfo, EntryTableModel::ColumnCount> kColumns = {{
    {u"印刷", Qt::AlignCenter, 40},
    {u"日付", Qt::AlignCenter, 80},
    {u"入場会社名", Qt::AlignLeft | Qt::AlignVCenter, 120},
    {u"入場路線名", Qt::AlignLeft | Qt::AlignVCenter, -1},
    {u"入場駅名", Qt::AlignLeft | Qt::AlignVCenter, 120},
    {u"出場会社名", Qt::AlignLeft | Qt::AlignVCenter, 120},
    {u"出場路線名", Qt::AlignLeft | Qt::AlignVCenter, -1},
    {u"出場駅名", Qt::AlignLeft | Qt::AlignVCenter, 120},
    {u"料金/入金額", Qt::AlignRight | Qt::AlignVCenter, 80},
    {u"残高", Qt::AlignRight | Qt::AlignVCenter, 80},
    {u"訪問先", Qt::AlignLeft | Qt::AlignVCenter, 120},
    {u"備考", Qt::AlignLeft | Qt::AlignVCenter, 120},
    {u"申請済", Qt::AlignCenter, 84},
    {u"カード", Qt::AlignLeft | Qt::AlignVCenter, 96},
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
        if (line.fareUnknown)
            return EntryTableModel::UnknownFareText();
        // A charge shows as the negative amount it is.
        return FormatYen(line.fare);
    case EntryTableModel::Balance:
        return FormatYen(line.balance);
    case EntryTableModel::Visit:
        return line.visitDestination;
    case EntryTableModel::Remarks:
        return line.remarks;
    default:
        return QString();
    }
}
} // namespace

EntryTableModel::EntryTableModel(CCorvaneDoc& doc, QObject* parent)
    : QAbstractTableModel(parent), m_doc(doc)
{
    Connect();
}

void EntryTableModel::Connect()
{
    connect(&m_doc, &CCorvaneDoc::LinesAboutToBeReset, this, [this] { beginResetModel(); });
    connect(&m_doc, &CCorvaneDoc::LinesReset, this, [this] { endResetModel(); });
    connect(&m_doc, &CCorvaneDoc::LinesAboutToBeInserted, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(&m_doc, &CCorvaneDoc::LinesInserted, this, [this] { endInsertRows(); });
    connect(&m_doc, &CCorvaneDoc::LinesAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(&m_doc, &CCorvaneDoc::LinesRemoved, this, [this] { endRemoveRows(); });
    connect(&m_doc, &CCorvaneDoc::LinesChanged, this, [this](int first, int last) {
        Q_EMIT dataChanged(index(first, 0), index(last, ColumnCount - 1));
    });
    connect(&m_doc, &CCorvaneDoc::LinesAboutToBeReordered, this,
            [this] { Q_EMIT layoutAboutToBeChanged(); });
    connect(&m_doc, &CCorvaneDoc::LinesReordered, this, &EntryTableModel::OnReordered);
    connect(&m_doc, &CCorvaneDoc::AppliedChanged, this, [this] {
        if (rowCount() > 0)
            Q_EMIT dataChanged(index(0, Applied), index(rowCount() - 1, Applied));
    });
}

void EntryTableModel::OnReordered(const std::vector<std::size_t>& order)
{
    std::vector<int> newRow(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        newRow[order[i]] = static_cast<int>(i);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after << index(newRow[static_cast<std::size_t>(old.row())], old.column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

void EntryTableModel::CardNamesChanged()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, Card), index(rowCount() - 1, Card));
}

QString EntryTableModel::ReclaimQuestion(const QDate& day)
{
    return QStringLiteral("この明細は申請済みです（%1）。もう一度申請しますか？")
        .arg(day.toString(QStringLiteral("yyyy/MM/dd")));
}

QString EntryTableModel::UnknownFareText()
{
    return QStringLiteral("不明");
}

QString EntryTableModel::UnknownFareTip()
{
    return QStringLiteral(
        "この利用の運賃はカードに残っていません（運賃は前の利用との残高の差で、"
        "この読込にはその前の利用がありませんでした）。\n"
        "項目編集で運賃を入力するか、前の利用を含むカードを読み込むと補われます。");
}

QString EntryTableModel::SuggestionTip(const QString& visit)
{
    return QStringLiteral("%1（候補）\n以前この駅で入力した訪問先です。確定するまで印刷と"
                          "CSVには含めません。項目編集の OK か「訪問先を確定」で確定します。")
        .arg(visit);
}

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
    return parent.isValid() ? 0 : static_cast<int>(m_doc.Lines().size());
}

int EntryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString EntryTableModel::CardText(const EntryInfo& line) const
{
    if (line.IsManual())
        return QString();
    return m_cardLabels ? m_cardLabels(line.idm) : MaskedCardId(line.idm);
}

const EntryInfo* EntryTableModel::Line(int row) const
{
    return row >= 0 && row < rowCount() ? m_doc.Lines()[static_cast<std::size_t>(row)].get()
                                        : nullptr;
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const
{
    const EntryInfo* line = Line(index.row());
    if (!line || index.column() < 0 || index.column() >= ColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == Applied) {
            const auto day = m_doc.AppliedOn(*line);
            return day ? day->toString(QStringLiteral("yyyy/MM/dd")) : QString();
        }
        if (index.column() == Card)
            return CardText(*line);
        return CellText(*line, index.column());
    case Qt::ToolTipRole:
        if (const auto day = m_doc.AppliedOn(*line); index.column() == Applied && day)
            return QStringLiteral("%1 に申請済みです")
                .arg(day->toString(QStringLiteral("yyyy/MM/dd")));
        if (index.column() == Visit && line->visitSuggested)
            return SuggestionTip(line->visitDestination);
        if (index.column() == Card)
            return line->IsManual() ? QString()
                                    : QStringLiteral("カード %1").arg(CardIdHex(line->idm));
        if (index.column() == Fare && line->fareUnknown)
            return UnknownFareTip();
        return CellText(*line, index.column());
    case Qt::CheckStateRole:
        if (index.column() == Print)
            return line->applyFlag == 1 ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(kColumns[static_cast<std::size_t>(index.column())].align);
    case Qt::ForegroundRole:
        // Lines not claimed are greyed, and so are suggestions not confirmed.
        if (line->applyFlag != 1 || (index.column() == Visit && line->visitSuggested))
            return QBrush(QColor(128, 128, 128));
        return {};
    case Qt::FontRole:
        if (index.column() == Visit && line->visitSuggested) {
            QFont font;
            font.setItalic(true); // the rest from the list's own font
            return font;
        }
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

bool EntryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const EntryInfo* line = Line(index.row());
    if (role != Qt::CheckStateRole || index.column() != Print || !line)
        return false;
    const bool checked = value.value<Qt::CheckState>() == Qt::Checked;
    if ((line->applyFlag == 1) == checked)
        return true; // no change
    if (checked && CanApply(*line) && m_reclaim) {
        // Another program may have claimed the trip since the list was shown.
        m_doc.RefreshHistory();
        if (const auto day = m_doc.AppliedOn(*line); day && !m_reclaim(*line, *day))
            return false;
    }
    return m_doc.SetMarks({{static_cast<std::size_t>(index.row()), checked}},
                          checked ? QStringLiteral("チェック") : QStringLiteral("チェックを外す"));
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
