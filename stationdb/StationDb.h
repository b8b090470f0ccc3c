#pragma once

#include "StationCode.h"
#include "StationCorrections.h"
#include "StationNames.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <cstdint>

// A connection to the station-name database, for the length of one import.
// The connection string keeps its ODBC form; when the file named by DBQ is an
// SQLite database it is opened directly, read-only, otherwise the whole string
// goes to the ODBC driver manager. No database error leaves this class.
// The user's corrections come first: every lookup takes a correction of the
// code over the database's row, whichever database is open.
class StationDb
{
public:
    static constexpr unsigned kReadOnly = 2;
    static constexpr unsigned kNoDialog = 8;

    // The corrections file read at each Connect; empty: the database alone.
    explicit StationDb(const QString& correctionsPath = StationCorrections::DefaultPath());
    ~StationDb();
    StationDb(const StationDb&) = delete;
    StationDb& operator=(const StationDb&) = delete;

    // Opens connectString + "PWD=" + password. An empty string with options
    // fails without touching a driver.
    bool Connect(const QString& connectString, const QString& password, unsigned options);
    bool IsOpen() const;
    void Close();
    // Why the corrections file could not be read at the last Connect, or empty.
    QString CorrectionsProblem() const { return m_correctionsProblem; }

    // The first matching row; without one the name becomes "未登録", the line
    // and company names empty, and the coordinates stay as they were.
    bool LookupStation(std::uint8_t area, std::uint8_t line, std::uint8_t station, QString& name,
                       QString& lineName, QString& companyName, double& latitude,
                       double& longitude);
    bool LookupBusStop(std::int32_t busLine, std::int32_t stop, QString& name, QString& lineName,
                       QString& companyName);
    // Either kind of code; false when neither a correction nor a row names it.
    bool LookupCode(const StationCode& code, StationNames& names);

    static QString StationQuery(unsigned area, unsigned line, unsigned station);
    static QString BusQuery(std::int32_t busLine, std::int32_t stop);
    static QString FieldToText(const QVariant& value);
    static QString NotRegistered() { return QStringLiteral("未登録"); }
    // The DBQ value of an ODBC connection string, or empty.
    static QString DatabaseFile(const QString& connectString);

private:
    bool QueryStation(unsigned area, unsigned line, unsigned station, QString& name,
                      QString& lineName, QString& companyName, double& latitude, double& longitude);
    bool QueryBusStop(std::int32_t busLine, std::int32_t stop, QString& name, QString& lineName,
                      QString& companyName);
    // Puts a correction of code over what the database gave (found or not).
    bool Correct(const StationCode& code, bool found, QString& name, QString& lineName,
                 QString& companyName) const;

    QString m_name;
    QSqlDatabase m_db;
    StationCorrections m_corrections;
    QString m_correctionsProblem;
};
