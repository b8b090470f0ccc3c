#include "StationDb.h"

#include <QDateTime>
#include <QFile>
#include <QSqlQuery>

namespace
{
bool IsSqliteFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
}
} // namespace

namespace
{
// Columns 0-2 of the first row; a code without a row is "未登録".
bool ReadNames(QSqlQuery& query, QString& name, QString& lineName, QString& companyName)
{
    if (!query.next()) {
        name = StationDb::NotRegistered();
        lineName.clear();
        companyName.clear();
        return false;
    }
    name = StationDb::FieldToText(query.value(0));
    lineName = StationDb::FieldToText(query.value(1));
    companyName = StationDb::FieldToText(query.value(2));
    return true;
}
} // namespace

StationDb::StationDb(const QString& correctionsPath)
    : m_name(QStringLiteral("StationDb-%1").arg(reinterpret_cast<quintptr>(this), 0, 16)),
      m_corrections(correctionsPath)
{
}

StationDb::~StationDb()
{
    Close();
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
}

QString StationDb::DatabaseFile(const QString& connectString)
{
    for (const QString& part : connectString.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = part.indexOf(QLatin1Char('='));
        if (equals > 0 &&
            part.left(equals).trimmed().compare(QLatin1String("DBQ"), Qt::CaseInsensitive) == 0)
            return part.mid(equals + 1).trimmed();
    }
    return QString();
}

bool StationDb::Connect(const QString& connectString, const QString& password, unsigned options)
{
    m_corrections.Load(&m_correctionsProblem);
    if (connectString.isEmpty() && options != 0)
        return false;
    Close();
    const QString file = DatabaseFile(connectString);
    const bool readOnly = (options & kReadOnly) != 0;
    if (IsSqliteFile(file)) {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(file);
        if (readOnly)
            m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    } else {
        // QODBC connects without prompting; a driver dialog never appears.
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
        m_db.setDatabaseName(connectString + QStringLiteral("PWD=") + password);
        if (readOnly)
            m_db.setConnectOptions(QStringLiteral("SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY"));
    }
    return m_db.open();
}

bool StationDb::IsOpen() const
{
    return m_db.isValid() && m_db.isOpen();
}

void StationDb::Close()
{
    if (m_db.isValid())
        m_db.close();
}

QString StationDb::StationQuery(unsigned area, unsigned line, unsigned station)
{
    return QStringLiteral(
               "SELECT StationCode.StationName, StationCode.LineName, Company.Abbreviation, "
               "StationCode.Latitude, StationCode.Longitude, StationCode.Number FROM StationCode "
               "INNER JOIN Company ON StationCode.CompanyCode = Company.Code WHERE "
               "(((StationCode.AreaCode)=%1) AND ((StationCode.LineCode)=%2) AND "
               "((StationCode.StationCode)=%3));")
        .arg(area)
        .arg(line)
        .arg(station);
}

QString StationDb::BusQuery(std::int32_t busLine, std::int32_t stop)
{
    return QStringLiteral("SELECT BusCode.BusStationName, BusCode.BusLineName, "
                          "BusCode.BusCompanyName, BusCode.Number FROM BusCode WHERE "
                          "(((BusCode.BusLineCode)=%1) AND ((BusCode.BusStationCode)=%2));")
        .arg(busLine)
        .arg(stop);
}

QString StationDb::FieldToText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    case QMetaType::Float:
    case QMetaType::Double:
        return QString::asprintf("%f", value.toDouble());
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyyMMdd"));
    case QMetaType::QDateTime:
        return value.toDateTime().date().toString(QStringLiteral("yyyyMMdd"));
    case QMetaType::QString:
        return value.toString();
    default: // binary and anything else
        return QString();
    }
}

bool StationDb::Correct(const StationCode& code, bool found, QString& name, QString& lineName,
                        QString& companyName) const
{
    const StationNames* corrected = m_corrections.Find(code);
    if (!corrected)
        return found;
    if (!found) {
        lineName.clear();
        companyName.clear();
    }
    const StationNames names = corrected->Over({name, lineName, companyName});
    name = names.station;
    lineName = names.line;
    companyName = names.company;
    return true;
}

bool StationDb::LookupStation(std::uint8_t area, std::uint8_t line, std::uint8_t station,
                              QString& name, QString& lineName, QString& companyName,
                              double& latitude, double& longitude)
{
    const bool found =
        QueryStation(area, line, station, name, lineName, companyName, latitude, longitude);
    return Correct(StationCode::Rail(area, line, station), found, name, lineName, companyName);
}

bool StationDb::LookupBusStop(std::int32_t busLine, std::int32_t stop, QString& name,
                              QString& lineName, QString& companyName)
{
    const bool found = QueryBusStop(busLine, stop, name, lineName, companyName);
    return Correct(StationCode::Bus(busLine, stop), found, name, lineName, companyName);
}

bool StationDb::LookupCode(const StationCode& code, StationNames& names)
{
    if (code.IsBus())
        return LookupBusStop(code.line, code.station, names.station, names.line, names.company);
    double latitude = 0, longitude = 0;
    return LookupStation(static_cast<std::uint8_t>(code.area), static_cast<std::uint8_t>(code.line),
                         static_cast<std::uint8_t>(code.station), names.station, names.line,
                         names.company, latitude, longitude);
}

bool StationDb::QueryStation(unsigned area, unsigned line, unsigned station, QString& name,
                             QString& lineName, QString& companyName, double& latitude,
                             double& longitude)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(StationQuery(area, line, station)))
        return false;
    if (!ReadNames(query, name, lineName, companyName))
        return false;
    latitude = query.value(3).toDouble();
    longitude = query.value(4).toDouble();
    return true;
}

bool StationDb::QueryBusStop(std::int32_t busLine, std::int32_t stop, QString& name,
                             QString& lineName, QString& companyName)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(BusQuery(busLine, stop)))
        return false;
    if (!ReadNames(query, name, lineName, companyName))
        return false;
    return true;
}
