#include "HistoryCsvWriter.h"

#include "CsvCell.h"
#include "HistoryCodes.h"
#include "SequenceNumber.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <map>
#include <tuple>

namespace
{
const QLatin1String kCrLf("\r\n");

QString Bare(QString cell)
{
    if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) &&
        !cell.contains(QLatin1Char('\n')) && !cell.contains(QLatin1Char('\r')))
        return cell;
    cell.replace(QLatin1Char('"'), QLatin1String("\"\""));
    cell.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    cell.replace(QLatin1Char('\n'), kCrLf);
    return QLatin1Char('"') + cell + QLatin1Char('"');
}

// Card lines, newest first. A trip's record holds its day without a time,
// a purchase its time of day too, so within a day the card's sequence number
// orders them; equal keys keep the reverse of the document's order, which
// holds each read oldest first.
std::vector<const EntryInfo*> NewestCardLinesFirst(const std::vector<const EntryInfo*>& lines)
{
    struct Keyed {
        QDate day;
        int sequence; // from the day's first line, across the counter's wrap
        const EntryInfo* line;
    };
    std::vector<Keyed> cards;
    std::map<QDate, std::int32_t> reference;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if ((*line)->IsManual())
            continue;
        const QDate day = QDateTime::fromSecsSinceEpoch((*line)->dateTime).date();
        const std::int32_t first = reference.try_emplace(day, (*line)->serialNumber).first->second;
        cards.push_back({day, SequenceNumber::Offset((*line)->serialNumber, first), *line});
    }
    std::stable_sort(cards.begin(), cards.end(), [](const Keyed& a, const Keyed& b) {
        return std::tie(a.day, a.sequence) > std::tie(b.day, b.sequence);
    });
    std::vector<const EntryInfo*> ordered;
    ordered.reserve(cards.size());
    for (const Keyed& card : cards)
        ordered.push_back(card.line);
    return ordered;
}
} // namespace

HistoryCsvWriter::HistoryCsvWriter(bool showCardId) : m_showCardId(showCardId) {}

QString HistoryCsvWriter::FormatCardId(const CardId& idm, bool whole)
{
    const QByteArray bytes(reinterpret_cast<const char*>(idm.data()),
                           static_cast<qsizetype>(idm.size()));
    QString hex = QString::fromLatin1(bytes.toHex().toUpper());
    if (!whole)
        hex.replace(0, hex.size() - 4, QString(hex.size() - 4, QLatin1Char('*')));
    return hex;
}

QString HistoryCsvWriter::Memo(const EntryInfo& line)
{
    switch (line.processType) {
    case 20: // at the entry gate
    case 21: // at the exit gate
        return QStringLiteral("ｵｰﾄﾁｬｰｼﾞ");
    case 2:
    case 31: // on a bus
    case 72: // points
    case 73: // cash at a shop
        return QStringLiteral("ﾁｬｰｼﾞ");
    default:
        break;
    }
    switch (ClassifyForImport(line.terminalType, line.processType)) {
    case ImportClass::Bus:
        return QStringLiteral("ﾊﾞｽ/路面等");
    case ImportClass::Shop:
        return QStringLiteral("物販");
    case ImportClass::Rail:
        break;
    }
    return QString();
}

QString HistoryCsvWriter::Row(const EntryInfo& line)
{
    // A bus line holds its operator, line and stop on the exit side.
    const bool bus = ClassifyForImport(line.terminalType, line.processType) == ImportClass::Bus;
    const QStringList cells = {
        QDateTime::fromSecsSinceEpoch(line.dateTime).toString(QStringLiteral("yyyy/MM/dd")),
        QString(),
        CsvCell::InertText(bus ? QString() : line.entryCompanyName),
        CsvCell::InertText(bus ? line.exitCompanyName : line.entryStationName),
        QString(),
        CsvCell::InertText(bus ? QString() : line.exitCompanyName),
        CsvCell::InertText(line.exitStationName),
        line.fareUnknown ? QString() : QString::number(line.fare),
        QString::number(line.balance),
        Memo(line),
    };
    QStringList written;
    for (const QString& cell : cells)
        written << Bare(cell);
    return written.join(QLatin1Char(',')) + kCrLf;
}

QString HistoryCsvWriter::Text(const std::vector<const EntryInfo*>& lines) const
{
    const std::vector<const EntryInfo*> cards = NewestCardLinesFirst(lines);
    // One file names one card: that of the newest line, the card last used.
    QString text = QStringLiteral("カードID=");
    if (!cards.empty())
        text += FormatCardId(cards.front()->idm, m_showCardId);
    text += kCrLf;
    text += QStringLiteral("利用年月日,定期,鉄道会社名,入場駅/事業者名,定期,鉄道会社名,"
                           "出場駅/降車場所,利用額(円),残額(円),メモ");
    text += kCrLf;
    for (const EntryInfo* line : cards)
        text += Row(*line);
    return text;
}
