#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <cstdint>

// A connection to the station-name database, for the length of one import.
// The connection string keeps its ODBC form; when the file named by DBQ is an
// SQLite database it is opened directly, read-only, otherwise the whole string
// goes to the ODBC driver manager. No database error leaves this class.
class StationDb
{
public:
    static constexpr unsigned kReadOnly = 2;
    static constexpr unsigned kNoDialog = 8;

    StationDb();
    ~StationDb();
    StationDb(const StationDb&) = delete;
    StationDb& operator=(const StationDb&) = delete;

    // Opens connectString + "PWD=" + password. An empty string with options
    // fails without touching a driver.
    bool Connect(const QString& connectString, const QString& password, unsigned options);
    bool IsOpen() const;
    void Close();

    // The first matching row; without one the name becomes "未登録", the line
    // and company names empty, and the coordinates stay as they were.
    bool LookupStation(std::uint8_t area, std::uint8_t line, std::uint8_t station, QString& name,
                       QString& lineName, QString& companyName, double& latitude,
                       double& longitude);
    bool LookupBusStop(std::int32_t busLine, std::int32_t stop, QString& name, QString& lineName,
                       QString& companyName);

    static QString StationQuery(unsigned area, unsigned line, unsigned station);
    static QString BusQuery(std::int32_t busLine, std::int32_t stop);
    static QString FieldToText(const QVariant& value);
    static QString NotRegistered() { return QStringLiteral("未登録"); }
    // The DBQ value of an ODBC connection string, or empty.
    static QString DatabaseFile(const QString& connectString);

private:
    QString m_name;
    QSqlDatabase m_db;
};
