#include "StationFixture.h"

#include "AppSettings.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

StationFixture::StationFixture(const QString& path) : m_path(path)
{
    const QString name = QStringLiteral("fixture-") + path;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            throw std::runtime_error("cannot create the fixture database");
        QSqlQuery q(db);
        const char* statements[] = {
            "CREATE TABLE Company (Code INTEGER NOT NULL, Abbreviation TEXT)",
            "CREATE TABLE StationCode (AreaCode INTEGER NOT NULL, LineCode INTEGER NOT NULL, "
            "StationCode INTEGER NOT NULL, StationName TEXT, LineName TEXT, CompanyCode INTEGER, "
            "Latitude REAL, Longitude REAL, Number INTEGER)",
            "CREATE TABLE BusCode (BusLineCode INTEGER NOT NULL, BusStationCode INTEGER NOT NULL, "
            "BusStationName TEXT, BusLineName TEXT, BusCompanyName TEXT, Number INTEGER)",
            "INSERT INTO Company VALUES (1, 'ＪＲ東'), (2, '東急')",
            "INSERT INTO StationCode VALUES "
            "(0, 1, 16, '東京', '山手', 1, 35.0, 139.0, 1),"
            "(0, 1, 32, '新宿', '山手', 1, 35.0, 139.1, 2),"
            "(0, 1, 48, '品川', '山手', 1, 35.1, 139.0, 3),"
            "(0, 2, 5, NULL, '中央', 1, 35.5, 139.5, 4),"
            "(0, 3, 48, '大崎', '埼京', 1, 35.6, 139.7, 5),"
            "(0, 3, 48, '大崎2', '埼京2', 2, 36.6, 140.7, 6),"
            "(0, 4, 18, '不明社', '謎線', 99, 35.7, 139.8, 7),"
            "(3, 1, 16, '博多', '鹿児島', 2, 33.59, 130.42, 8)",
            "INSERT INTO BusCode VALUES "
            "(291, 69, '市役所前', '系統1', '市営バス', 1),"
            "(5, 5, '共通', '', '', 2),"
            "(-1, 3, '負号', '線', '社', 3)",
        };
        for (const char* sql : statements)
            if (!q.exec(QString::fromUtf8(sql)))
                throw std::runtime_error(q.lastError().text().toStdString());
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QString StationFixture::ConnectString() const
{
    return AppSettings::ConnectStringFor(m_path);
}

QString StationFixture::SharedDatabase()
{
    const QString path = QStringLiteral(FENWIR_SHARED_DATA_DIR "/stations.sqlite");
    return QFileInfo::exists(path) ? path : QString();
}
