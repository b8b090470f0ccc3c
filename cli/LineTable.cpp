#include "LineTable.h"

#include "HistoryCodes.h"
#include "TextFormat.h"
#include "TextTable.h"

#include <QDateTime>

namespace
{
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
                   line.fareUnknown ? QStringLiteral("不明") : FormatAmount(line.fare).trimmed(),
                   FormatAmount(line.balance).trimmed(), QString::number(line.serialNumber),
                   line.remarks});
}

QString LineTable::Text() const
{
    // Amount columns are right-aligned.
    TextTable table(kHeader, {6, 7, 8});
    for (const QStringList& row : m_rows)
        table.Add(row);
    return table.Text();
}
