#include "LineTable.h"

#include "HistoryCodes.h"
#include "TextFormat.h"

#include <QDateTime>

namespace
{
int DisplayWidth(const QString& text)
{
    int width = 0;
    for (QChar c : text) {
        if (c.isLowSurrogate())
            continue;
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
                          (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
                          (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
                          (u >= 0xFFE0 && u <= 0xFFE6) || c.isHighSurrogate();
        width += wide ? 2 : 1;
    }
    return width;
}

QString Place(const QString& name, std::int32_t line, std::int32_t station)
{
    if (!name.isEmpty())
        return name;
    if (line == 0 && station == 0)
        return QString();
    return QStringLiteral("%1-%2").arg(line).arg(station);
}

const QStringList kHeader = {QStringLiteral("申請"),        QStringLiteral("日付"),
                             QStringLiteral("端末"),        QStringLiteral("処理"),
                             QStringLiteral("入場駅名"),    QStringLiteral("出場駅名"),
                             QStringLiteral("料金/入金額"), QStringLiteral("残高"),
                             QStringLiteral("連番"),        QStringLiteral("備考")};
} // namespace

void LineTable::Add(const EntryInfo& line)
{
    const QDateTime when = QDateTime::fromSecsSinceEpoch(line.dateTime);
    m_rows.append({line.applyFlag == 1 ? QStringLiteral("*") : QString(),
                   when.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                   line.IsManual() ? QString() : TerminalTypeText(line.terminalType),
                   line.IsManual() ? QString() : ProcessTypeText(line.processType),
                   Place(line.entryStationName, line.entryLine, line.entryStation),
                   Place(line.exitStationName, line.exitLine, line.exitStation),
                   FormatAmount(line.fare).trimmed(), FormatAmount(line.balance).trimmed(),
                   QString::number(line.serialNumber), line.remarks});
}

QString LineTable::Text() const
{
    QList<QStringList> all{kHeader};
    all.append(m_rows);
    QList<int> widths(kHeader.size(), 0);
    for (const QStringList& row : all)
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
    // Amount columns are right-aligned.
    const auto rightAligned = [](qsizetype column) { return column >= 6 && column <= 8; };
    QString text;
    for (const QStringList& row : all) {
        QString out;
        for (qsizetype i = 0; i < row.size(); ++i) {
            const QString pad(widths[i] - DisplayWidth(row[i]), QLatin1Char(' '));
            out += rightAligned(i) ? pad + row[i] : row[i] + pad;
            out += QStringLiteral("  ");
        }
        while (out.endsWith(QLatin1Char(' ')))
            out.chop(1);
        text += out + QLatin1Char('\n');
    }
    return text;
}
