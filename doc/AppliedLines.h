#pragma once

#include "ApplyRecord.h"
#include "EntryInfo.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// What the recorded applications hold, so a trip claimed once is known when
// it comes again: a card line by what the card recorded (sequence number,
// date, balance, stations or terminal, fare) whatever ID the card gave, as a
// phone's card may change its ID; a line added by hand as itself: by the
// moment it was made (its date carries the time of day it was added), its
// stations and fare, so another trip of that day and route is not it. A
// cancelled application claims nothing.
class AppliedLines
{
public:
    // What a record says against its snapshot.
    enum class Check {
        Good,        // the snapshot is as written and as recorded
        NotRecorded, // written before fingerprints: nothing to check against
        Changed,     // the snapshot's bytes are not those written
        Missing,     // the snapshot is gone
        Differs,     // the record's amount or line count is not the snapshot's
    };
    // One recorded application as the history window lists it.
    struct Application {
        QString id; // its number, never its place in the list
        QDateTime printed;
        std::int32_t amount = 0;
        int lineCount = 0; // -1 when its snapshot cannot be read
        QString snapshotPath;
        std::size_t record = 0; // its place in the history, oldest first
        QDate from;             // the usage dates of its lines, when known
        QDate to;
        QDate cancelled;                // the day it was taken back, else invalid
        ApplyRecord::PrintJob printJob; // the job that carries its paper, if known
        QString snapshotFile;           // where its snapshot is now
        ApplyRecord::Actor printedBy;
        QString sha256;
        ApplyRecord::Paper paper;
        QDateTime cancelledAt;
        QString cancelReason;
        ApplyRecord::Actor cancelledBy;
        // The 訪問先, 備考, stations, lines and companies of its lines.
        QStringList texts;
        Check check = Check::Good;
        QString checkDetail; // what differs, in the user's words

        // Whether verification finds a difference.
        bool Fails() const { return check != Check::Good && check != Check::NotRecorded; }
    };
    // Lines claimed before, and the days they were (ascending).
    struct Claimed {
        std::size_t lines = 0;
        std::vector<QDate> days;
    };

    // Reads the snapshots the records name (locate says where each one is
    // now), checking each against its record; one that cannot be read is
    // listed without lines.
    void Load(const std::vector<ApplyRecord>& records,
              const std::function<QString(const ApplyRecord&)>& locate = {});
    // An application printed now, the history's record `index`.
    void Add(std::size_t index, const ApplyRecord& record,
             const std::vector<const EntryInfo*>& lines, const QDateTime& printed);

    // The day a recorded application last claimed the line.
    std::optional<QDate> AppliedOn(const EntryInfo& line) const;
    // Newest first.
    std::vector<Application> Applications() const;

    // When a snapshot was printed: its name's time stamp ("Apply261130-091500"),
    // else its file's time.
    static QDateTime PrintedAt(const QString& snapshotPath);
    // What makes two lines the same trip.
    static QByteArray Key(const EntryInfo& line);

private:
    void Remember(const std::vector<const EntryInfo*>& lines, const QDate& day);
    static Application Describe(std::size_t index, const ApplyRecord& record,
                                const std::vector<const EntryInfo*>& lines,
                                const QDateTime& printed);
    // What the record says against its snapshot's bytes (null: not there) and
    // the total of its claimed lines.
    static void Verify(Application& application, const ApplyRecord& record,
                       const std::optional<QByteArray>& bytes, bool readable, std::int32_t total);

    QHash<QByteArray, QDate> m_days;
    std::vector<Application> m_applications; // oldest first
};
