#pragma once

#include "ApplyRecord.h"

#include <QByteArray>
#include <QString>
#include <vector>

class AppSettings;

// The record of printed claims, kept in "Apply.hst" in the folder
// ApplyHistory under DefaultPath. Failures are silent: the results say false.
class ApplyHistory
{
public:
    bool Load(const AppSettings& settings);
    // Writes every record. A history file that could not be read when loaded
    // is first kept aside under a new name, so no earlier record is lost.
    // error, when given, says which file could not be written and why.
    bool Save(const AppSettings& settings, QString* error = nullptr);
    void Clear() { m_records.clear(); }
    void Add(ApplyRecord record) { m_records.push_back(std::move(record)); }
    // Forgets the newest record (one that could not be written).
    void RemoveLast() { m_records.pop_back(); }
    // Marks record `index` (oldest first) as taken back at `when`.
    void Cancel(std::size_t index, std::int64_t when) { m_records.at(index).cancelled = when; }
    const std::vector<ApplyRecord>& Records() const { return m_records; }

    // DefaultPath/ApplyHistory, created when missing; empty when that fails
    // (the files then go to the current folder).
    static QString Folder(const AppSettings& settings);
    // Throws ArchiveError unless the bytes are a whole history file. The
    // cancellations follow the records in a section of their own, which
    // earlier versions read past.
    static std::vector<ApplyRecord> Parse(const QByteArray& bytes);
    static QByteArray Serialize(const std::vector<ApplyRecord>& records);

    static const QString kMarker;
    static const QString kCancelMarker;
    static const QString kFileName;

private:
    bool KeepDamagedFileAside(const QString& path);

    std::vector<ApplyRecord> m_records;
    bool m_fileUnreadable = false;
};
