#include "AppliedLines.h"

#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ClaimRules.h"
#include "EntryList.h"
#include "SequenceNumber.h"
#include "TextFormat.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

QByteArray AppliedLines::Key(const EntryInfo& line)
{
    QByteArray key;
    QDataStream out(&key, QIODevice::WriteOnly);
    if (line.IsManual()) {
        out << quint8('M') << qint64(line.dateTime) << line.entryStationName << line.exitStationName
            << qint32(line.fare);
    } else {
        // What the card itself recorded; never its ID, nor names the user
        // or a station database may change, nor the fare, which a read may
        // not know (the oldest record) or the user may have typed in.
        out << quint8('C') << quint16(SequenceNumber::Of(line.serialNumber))
            << qint64(line.dateTime) << qint32(line.balance) << quint8(line.terminalType)
            << quint8(line.processType) << quint8(line.entryArea) << qint32(line.entryLine)
            << qint32(line.entryStation) << quint8(line.exitArea) << qint32(line.exitLine)
            << qint32(line.exitStation);
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

AppliedLines::Application AppliedLines::Describe(std::size_t index, const ApplyRecord& record,
                                                 const std::vector<const EntryInfo*>& lines,
                                                 const QDateTime& printed)
{
    Application application;
    application.printed = printed;
    application.amount = record.amount;
    application.lineCount = static_cast<int>(lines.size());
    application.snapshotPath = record.snapshotPath;
    application.record = index;
    application.printJob = record.printJob;
    application.id = record.id;
    application.snapshotFile = record.snapshotPath;
    application.printedBy = record.printedBy;
    application.sha256 = record.sha256;
    application.paper = record.paper;
    application.cancelReason = record.cancelReason;
    application.cancelledBy = record.cancelledBy;
    application.check = record.sha256.isEmpty() ? Check::NotRecorded : Check::Good;
    for (const EntryInfo* line : lines) {
        for (const QString* text :
             {&line->visitDestination, &line->remarks, &line->entryStationName,
              &line->exitStationName, &line->entryLineName, &line->exitLineName,
              &line->entryCompanyName, &line->exitCompanyName})
            if (!text->isEmpty())
                application.texts << *text;
        const QDate day = QDateTime::fromSecsSinceEpoch(line->dateTime).date();
        if (!application.from.isValid() || day < application.from)
            application.from = day;
        if (!application.to.isValid() || day > application.to)
            application.to = day;
    }
    if (record.cancelled != 0) {
        application.cancelledAt = QDateTime::fromSecsSinceEpoch(record.cancelled);
        application.cancelled = application.cancelledAt.date();
    }
    return application;
}

void AppliedLines::Verify(Application& application, const ApplyRecord& record,
                          const std::optional<QByteArray>& bytes, bool readable, std::int32_t total)
{
    const auto differs = [&](Check check, const QString& detail) {
        application.check = check;
        application.checkDetail = detail;
    };
    if (!bytes)
        return differs(Check::Missing,
                       QStringLiteral("控えのファイル %1 がありません")
                           .arg(QDir::toNativeSeparators(application.snapshotFile)));
    if (!record.sha256.isEmpty() &&
        QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256).toHex() !=
            record.sha256.toLatin1())
        return differs(Check::Changed,
                       QStringLiteral("控えのファイル %1 が記録の後に変更されています"
                                      "（SHA-256 が違います）")
                           .arg(QDir::toNativeSeparators(application.snapshotFile)));
    if (!readable)
        return differs(Check::Differs,
                       QStringLiteral("控えのファイル %1 を読めません")
                           .arg(QDir::toNativeSeparators(application.snapshotFile)));
    if (record.lineCount >= 0 && record.lineCount != application.lineCount)
        return differs(Check::Differs,
                       QStringLiteral("明細数が控えと違います（記録 %1件、控え %2件）")
                           .arg(record.lineCount)
                           .arg(application.lineCount));
    if (total != record.amount)
        return differs(Check::Differs,
                       QStringLiteral("金額が控えと違います（記録 %1円、控え %2円）")
                           .arg(FormatYen(record.amount), FormatYen(total)));
}

void AppliedLines::Load(const std::vector<ApplyRecord>& records,
                        const std::function<QString(const ApplyRecord&)>& locate)
{
    m_days.clear();
    m_applications.clear();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ApplyRecord& record = records[i];
        const QString path = locate ? locate(record) : record.snapshotPath;
        const QDateTime printed = record.printed != 0
                                      ? QDateTime::fromSecsSinceEpoch(record.printed)
                                      : PrintedAt(record.snapshotPath);
        EntryList snapshot;
        bool readable = false;
        std::optional<QByteArray> bytes;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            bytes = file.readAll();
            try {
                ArchiveReader in(*bytes);
                snapshot.Read(in);
                readable = true;
            } catch (const ArchiveError&) {
                // A damaged snapshot still shows in the history, without lines.
            }
        }
        std::vector<const EntryInfo*> lines;
        for (const auto& line : snapshot.lines)
            lines.push_back(line.get());
        Application application = Describe(i, record, lines, printed);
        application.snapshotFile = path;
        Verify(application, record, bytes, readable, ClaimedTotal(lines));
        if (!readable)
            application.lineCount = -1;
        if (record.cancelled == 0)
            Remember(lines, printed.date());
        m_applications.push_back(std::move(application));
    }
}

void AppliedLines::Add(std::size_t index, const ApplyRecord& record,
                       const std::vector<const EntryInfo*>& lines, const QDateTime& printed)
{
    Remember(lines, printed.date());
    m_applications.push_back(Describe(index, record, lines, printed));
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
