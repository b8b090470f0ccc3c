#pragma once

#include "ApplyRecord.h"
#include "EntryInfo.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

// What the recorded applications hold, so a trip claimed once is known when
// it comes again: a card line by what the card recorded (sequence number,
// date, balance, stations or terminal) whatever ID the card gave, as a
// phone's card may change its ID; a line added by hand by its date, stations
// and fare. A cancelled application claims nothing.
class AppliedLines
{
public:
    // One recorded application as the history window lists it.
    struct Application {
        QDateTime printed;
        std::int32_t amount = 0;
        int lineCount = 0; // -1 when its snapshot cannot be read
        QString snapshotPath;
        std::size_t record = 0; // its place in the history, oldest first
        QDate from;             // the usage dates of its lines, when known
        QDate to;
        QDate cancelled; // the day it was taken back, else invalid
    };
    // Lines claimed before, and the days they were (ascending).
    struct Claimed {
        std::size_t lines = 0;
        std::vector<QDate> days;
    };

    // Reads the snapshots the records name; one that cannot be read is
    // listed without lines.
    void Load(const std::vector<ApplyRecord>& records);
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

    QHash<QByteArray, QDate> m_days;
    std::vector<Application> m_applications; // oldest first
};
