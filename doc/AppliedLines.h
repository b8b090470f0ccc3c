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
// it comes again: a card line by its card, sequence number and date, a line
// added by hand by its date, stations and fare.
class AppliedLines
{
public:
    // One recorded application as the history window lists it.
    struct Application {
        QDateTime printed;
        std::int32_t amount = 0;
        int lineCount = 0; // -1 when its snapshot cannot be read
        QString snapshotPath;
    };

    // Reads the snapshots the records name; one that cannot be read is
    // listed without lines.
    void Load(const std::vector<ApplyRecord>& records);
    // An application printed now.
    void Add(const ApplyRecord& record, const std::vector<const EntryInfo*>& lines,
             const QDateTime& printed);

    // The day a recorded application last claimed the line.
    std::optional<QDate> AppliedOn(const EntryInfo& line) const;
    // Newest first.
    std::vector<Application> Applications() const;

    // When a snapshot was printed: its name's time stamp ("Apply261130-091500"),
    // else its file's time.
    static QDateTime PrintedAt(const QString& snapshotPath);

private:
    static QByteArray Key(const EntryInfo& line);
    void Remember(const std::vector<const EntryInfo*>& lines, const QDate& day);

    QHash<QByteArray, QDate> m_days;
    std::vector<Application> m_applications; // oldest first
};
