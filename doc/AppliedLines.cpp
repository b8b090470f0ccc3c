#include "AppliedLines.h"

#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "EntryList.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

QByteArray AppliedLines::Key(const EntryInfo& line)
{
    QByteArray key;
    QDataStream out(&key, QIODevice::WriteOnly);
    if (line.IsManual()) {
        const QDate day = QDateTime::fromSecsSinceEpoch(line.dateTime).date();
        out << quint8('M') << day << line.entryStationName << line.exitStationName
            << qint32(line.fare);
    } else {
        out << quint8('C');
        out.writeRawData(reinterpret_cast<const char*>(line.idm.data()),
                         static_cast<int>(line.idm.size()));
        out << qint32(line.serialNumber) << qint64(line.dateTime);
    }
    return key;
}

QDateTime AppliedLines::PrintedAt(const QString& snapshotPath)
{
    static const QRegularExpression stamp(QStringLiteral("^Apply(\\d{6}-\\d{6})"));
    const QFileInfo file(snapshotPath);
    const auto match = stamp.match(file.fileName());
    if (match.hasMatch()) {
        QDateTime printed =
            QDateTime::fromString(match.captured(1), QStringLiteral("yyMMdd-HHmmss"));
        if (printed.isValid()) {
            // Two-digit years are of this century.
            if (printed.date().year() < 2000)
                printed = printed.addYears(100);
            return printed;
        }
    }
    return file.lastModified();
}

void AppliedLines::Remember(const std::vector<const EntryInfo*>& lines, const QDate& day)
{
    for (const EntryInfo* line : lines) {
        QDate& known = m_days[Key(*line)];
        if (!known.isValid() || known < day)
            known = day;
    }
}

void AppliedLines::Load(const std::vector<ApplyRecord>& records)
{
    m_days.clear();
    m_applications.clear();
    for (const ApplyRecord& record : records) {
        Application application{PrintedAt(record.snapshotPath), record.amount, -1,
                                record.snapshotPath};
        QFile file(record.snapshotPath);
        if (file.open(QIODevice::ReadOnly)) {
            try {
                ArchiveReader in(file.readAll());
                EntryList snapshot;
                snapshot.Read(in);
                std::vector<const EntryInfo*> lines;
                for (const auto& line : snapshot.lines)
                    lines.push_back(line.get());
                Remember(lines, application.printed.date());
                application.lineCount = static_cast<int>(lines.size());
            } catch (const ArchiveError&) {
                // A damaged snapshot still shows in the history, without lines.
            }
        }
        m_applications.push_back(std::move(application));
    }
}

void AppliedLines::Add(const ApplyRecord& record, const std::vector<const EntryInfo*>& lines,
                       const QDateTime& printed)
{
    Remember(lines, printed.date());
    m_applications.push_back(
        {printed, record.amount, static_cast<int>(lines.size()), record.snapshotPath});
}

std::optional<QDate> AppliedLines::AppliedOn(const EntryInfo& line) const
{
    const auto found = m_days.constFind(Key(line));
    return found == m_days.constEnd() ? std::nullopt : std::optional<QDate>(*found);
}

std::vector<AppliedLines::Application> AppliedLines::Applications() const
{
    std::vector<Application> newest(m_applications.rbegin(), m_applications.rend());
    std::stable_sort(newest.begin(), newest.end(), [](const Application& a, const Application& b) {
        return a.printed > b.printed;
    });
    return newest;
}
