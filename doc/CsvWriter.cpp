#include "CsvWriter.h"

#include "CsvCell.h"

#include <QDateTime>
#include <QStringList>

CsvWriter::CsvWriter(std::vector<std::uint16_t> columns, bool header)
    : m_columns(std::move(columns)), m_header(header)
{
}

QString CsvWriter::Header(std::uint16_t id)
{
    switch (id) {
    case 1:
        return QStringLiteral("連番");
    case 2:
        return QStringLiteral("日付");
    case 3:
        return QStringLiteral("入場会社名");
    case 4:
        return QStringLiteral("入場路線名");
    case 5:
        return QStringLiteral("入場駅名");
    case 6:
        return QStringLiteral("出場会社名");
    case 7:
        return QStringLiteral("出場路線名");
    case 8:
        return QStringLiteral("出場駅名");
    case 9:
        return QStringLiteral("料金/入金額");
    case 10:
        return QStringLiteral("残高");
    case 11:
        return QStringLiteral("訪問先");
    case 12:
        return QStringLiteral("備考");
    default:
        return QString();
    }
}

QString CsvWriter::Cell(std::uint16_t id, const EntryInfo& line)
{
    switch (id) {
    case 2:
        return QDateTime::fromSecsSinceEpoch(line.dateTime).toString(QStringLiteral("yyyy/MM/dd"));
    case 3:
        return CsvCell::InertText(line.entryCompanyName);
    case 4:
        return CsvCell::InertText(line.entryLineName);
    case 5:
        return CsvCell::InertText(line.entryStationName);
    case 6:
        return CsvCell::InertText(line.exitCompanyName);
    case 7:
        return CsvCell::InertText(line.exitLineName);
    case 8:
        return CsvCell::InertText(line.exitStationName);
    case 9:
        // A fare the card did not hold is no amount.
        return line.fareUnknown ? QString() : QString::number(line.fare);
    case 10:
        return QString::number(line.balance);
    case 11:
        return CsvCell::InertText(line.StatedVisit());
    case 12:
        return CsvCell::InertText(line.remarks);
    default:
        return QString();
    }
}

void CsvWriter::AppendRow(QString& text, const QStringList& cells) const
{
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        text += QLatin1Char('"');
        QString cell = cells[i];
        cell.replace(QLatin1Char('"'), QLatin1String("\"\""));
        // Line breaks inside a cell end in CR LF as the rows do.
        cell.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        cell.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        text += cell;
        text += QLatin1Char('"');
    }
    text += QLatin1String("\r\n");
}

QString CsvWriter::Text(const std::vector<const EntryInfo*>& lines) const
{
    QString text;
    QStringList cells;
    if (m_header) {
        for (std::uint16_t id : m_columns)
            cells.append(Header(id));
        AppendRow(text, cells);
    }
    for (const EntryInfo* line : lines) {
        cells.clear();
        for (std::uint16_t id : m_columns)
            cells.append(Cell(id, *line));
        AppendRow(text, cells);
    }
    return text;
}
