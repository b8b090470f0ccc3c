#pragma once

#include "ApplyRecord.h"
#include "HistoryContents.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

class AppSettings;
class FileLock;
class HistoryFolder;

// The application history: "Apply.hst" and the snapshots beside it, in the
// folder HistoryFolder names. Reading never changes it. Every change (a new
// application, a cancellation, a repair) is one exclusive step across
// programs: the lock beside the file is taken, the file is read as it is
// now, changed, published whole in one rename, and the lock is released. A
// history that cannot be read whole is never written over: what can be read
// is used, and only Repair, which the user asks for, replaces it.
class ApplyHistory
{
public:
    // The settings are read at every step: DefaultPath says where it lives.
    explicit ApplyHistory(const AppSettings& settings);
    // The clock that names new files (local time); the system's by default.
    void SetClock(std::function<QDateTime()> now) { m_now = std::move(now); }

    // Reads the file again when it changed since it was last read (or was
    // never read); true when what it holds differs.
    bool Refresh();
    const std::vector<ApplyRecord>& Records() const { return m_contents.records; }
    // Why the history takes no change now (its folder cannot be reached, its
    // file cannot be read whole), in the user's words; empty when it can.
    const QString& Problem() const { return m_problem; }
    // Why no change could be made now: Problem(), or a folder that cannot
    // be made. Empty when a change may be tried.
    QString WhyNoChange() const;
    // The file is damaged, and Repair can make it whole.
    bool IsDamaged() const { return m_damaged; }
    // Where Apply.hst is, or empty when its folder cannot be found.
    QString FilePath() const;

    // A new application: snapshot (an expense file's bytes) is created under
    // a new name in the history's folder, never over another file, and
    // record, naming it in snapshotPath, joins the history with its number
    // (record.id when given and free, else the next), print time (when not
    // given), user, computer and the snapshot's fingerprint. False with the
    // reason when either cannot be written: then nothing stays behind.
    bool Record(const QByteArray& snapshot, ApplyRecord& record, QString* error);
    // Takes back record `index`, which must still name snapshotPath (the
    // history may have changed since the caller read it), at `when`, for
    // reason, by this user on this computer. The path is a copy: the
    // history is read anew before it is compared.
    bool Cancel(std::size_t index, QString snapshotPath, std::int64_t when, const QString& reason,
                QString* error);
    // The number the next application gets, as the history is now: what a
    // print shows before it is recorded.
    QString NextId();
    // Where a record's snapshot is: its recorded path, else a file of its
    // name beside Apply.hst (the folder moved), else the recorded path.
    QString SnapshotFile(const ApplyRecord& record) const;
    // The fingerprint a record keeps of its snapshot's bytes.
    static QString Fingerprint(const QByteArray& snapshot);
    // Makes a damaged history whole: the damaged file's bytes are kept under
    // a new name, and a history of every record that could be read replaces
    // it. report says what was done, or why not (false then).
    bool Repair(QString* report);

    // One exclusive step: change gets the history as it is now and the
    // folder, and returns false (with the reason) to change nothing.
    using Change = std::function<bool(HistoryContents&, const HistoryFolder&, QString*)>;
    bool Update(const Change& change, QString* error);

    static const QString kFileName;

private:
    struct Stamp {
        QString path;
        QString problem;
        bool exists = false;
        QDateTime modified;
        qint64 size = -1;

        bool operator==(const Stamp&) const = default;
    };
    using Step = std::function<bool(const HistoryFolder&, FileLock&, QString*)>;

    static Stamp StampOf(const HistoryFolder& folder);
    void Read(const HistoryFolder& folder);
    // Runs step under the lock, after reading the history as it is now.
    bool Locked(const Step& step, QString* error);
    bool Publish(const HistoryFolder& folder, FileLock& lock, const HistoryContents& contents,
                 QString* error);
    QString SetAside(const HistoryFolder& folder, QString* error) const;

    const AppSettings& m_settings;
    std::function<QDateTime()> m_now = [] { return QDateTime::currentDateTime(); };
    HistoryContents m_contents;
    QByteArray m_bytes; // the file as last read
    QString m_problem;
    bool m_damaged = false;
    bool m_read = false;
    Stamp m_stamp;
};
