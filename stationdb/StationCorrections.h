#pragma once

#include "StationCode.h"
#include "StationNames.h"

#include <QString>
#include <functional>
#include <map>
#include <optional>

// The user's own names for station codes, kept in a small JSON file in the
// user's data folder, apart from the station database, so that a database
// update keeps them. A file that cannot be read is never emptied or
// overwritten: it is moved aside under a new name and the user is told.
//
//   {"version": 1,
//    "rail": [{"area": 0, "line": 37, "station": 12, "name": "四ツ谷",
//              "lineName": "中央線", "company": "ＪＲ東"}],
//    "bus": [{"line": 291, "stop": 69, "name": "市役所前"}]}
class StationCorrections
{
public:
    using Table = std::map<StationCode, StationNames>;

    // An empty path: no file, no corrections.
    explicit StationCorrections(QString path);

    // StationCorrections.json in the user's data folder.
    static QString DefaultPath();

    // Reads the file; a missing file is an empty table. A file that cannot
    // be read, or is not a table of corrections, leaves the table empty, is
    // moved aside when it can be, and problem says what happened (else it
    // is cleared). False then.
    bool Load(QString* problem);
    // Writes the table through a new file renamed over the old one. Refused
    // while an unreadable file could not be moved aside.
    bool Save(QString* error) const;
    // One change as an exclusive step, as another program may change the
    // file at the same time: under the file's lock, the table is read as it
    // is now (Load, whose problem is told), change edits it (false: nothing
    // to write), and it is written before the lock is released. False with
    // error when the file is busy or could not be written.
    bool Update(const std::function<bool(StationCorrections&)>& change, QString* problem,
                QString* error);

    const Table& Entries() const { return m_table; }
    const StationNames* Find(const StationCode& code) const;
    std::optional<StationNames> Get(const StationCode& code) const;
    // nullopt removes the code's correction.
    void Set(const StationCode& code, const std::optional<StationNames>& names);

    QString Path() const { return m_path; }
    // Parses the file's bytes; false with the reason in Japanese.
    static bool Parse(const QByteArray& bytes, Table& table, QString* reason);
    static QByteArray Serialize(const Table& table);
    // A name may be stored: not blank, no control characters.
    static bool IsValidName(const QString& name);

private:
    bool SetAside(const QString& reason, QString* problem);

    QString m_path;
    Table m_table;
    bool m_blocked = false; // an unreadable file is still in the way
};
