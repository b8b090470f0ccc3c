#include "StationDb.h"

#include "StationFixture.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
constexpr unsigned kOptions = StationDb::kReadOnly | StationDb::kNoDialog;

struct Station {
    QString name = "old", line = "old", company = "old";
    double latitude = -1, longitude = -1;
};

Station Lookup(StationDb& db, int area, int line, int station, bool* found = nullptr)
{
    Station s;
    const bool ok =
        db.LookupStation(area, line, station, s.name, s.line, s.company, s.latitude, s.longitude);
    if (found)
        *found = ok;
    return s;
}

class StationDbTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    StationFixture fixture{dir.filePath("FenwirStn.mdb")};
};
} // namespace

TEST(StationDbQueries, ExactTexts)
{
    EXPECT_EQ(StationDb::StationQuery(0, 37, 12),
              "SELECT StationCode.StationName, StationCode.LineName, Company.Abbreviation, "
              "StationCode.Latitude, StationCode.Longitude, StationCode.Number FROM StationCode "
              "INNER JOIN Company ON StationCode.CompanyCode = Company.Code WHERE "
              "(((StationCode.AreaCode)=0) AND ((StationCode.LineCode)=37) AND "
              "((StationCode.StationCode)=12));");
    EXPECT_EQ(StationDb::BusQuery(-5, 70000),
              "SELECT BusCode.BusStationName, BusCode.BusLineName, BusCode.BusCompanyName, "
              "BusCode.Number FROM BusCode WHERE (((BusCode.BusLineCode)=-5) AND "
              "((BusCode.BusStationCode)=70000));");
}

TEST(StationDbQueries, FieldToText)
{
    const std::pair<QVariant, QString> cases[] = {
        {QVariant(), ""},
        {QVariant(QMetaType(QMetaType::QString)), ""},
        {QVariant(true), "1"},
        {QVariant::fromValue<uchar>(200), "200"},
        {QVariant::fromValue<short>(-3), "-3"},
        {QVariant(-70000), "-70000"},
        {QVariant(qlonglong(42)), "42"},
        {QVariant(1.5f), "1.500000"},
        {QVariant(35.681236), "35.681236"},
        {QVariant(QDateTime(QDate(2024, 5, 1), QTime(9, 3))), "20240501"},
        {QVariant(QDate(1999, 12, 31)), "19991231"},
        {QVariant(QStringLiteral("東京")), "東京"},
        {QVariant(QByteArray("bin")), ""},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(StationDb::FieldToText(value), text) << value.typeName();
}

TEST(StationDbQueries, DatabaseFileOfConnectString)
{
    EXPECT_EQ(StationDb::DatabaseFile("Driver=x;DBQ=/a/b.mdb;PageTimeout=5;"), "/a/b.mdb");
    EXPECT_EQ(StationDb::DatabaseFile("driver=x; dbq = /a/b.mdb ;"), "/a/b.mdb");
    EXPECT_EQ(StationDb::DatabaseFile("Driver=SQLite3;Database=/a.db;"), "");
}

TEST_F(StationDbTest, ConnectFailures)
{
    const int connectionsBefore = QSqlDatabase::connectionNames().size();
    StationDb db;
    EXPECT_FALSE(db.Connect("", "pw", kOptions));
    EXPECT_EQ(QSqlDatabase::connectionNames().size(), connectionsBefore); // no driver touched
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.Connect("Driver=Microsoft Access Driver (*.mdb);DBQ=/nonexistent/x.mdb;", "pw",
                            kOptions));
    EXPECT_FALSE(db.IsOpen());
    Station s;
    EXPECT_FALSE(db.LookupStation(0, 1, 16, s.name, s.line, s.company, s.latitude, s.longitude));
    EXPECT_EQ(s.name, "old");
}

TEST_F(StationDbTest, StationLookups)
{
    StationDb db;
    ASSERT_TRUE(db.Connect(fixture.ConnectString(), "5d0f7a2c9e13b846", kOptions));
    ASSERT_TRUE(db.IsOpen());

    bool found = false;
    Station s = Lookup(db, 0, 1, 16, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(s.name, "東京");
    EXPECT_EQ(s.line, "山手");
    EXPECT_EQ(s.company, "ＪＲ東");
    EXPECT_EQ(s.latitude, 35.0);
    EXPECT_EQ(s.longitude, 139.0);

    s = Lookup(db, 3, 1, 16, &found);
    EXPECT_EQ(s.name, "博多"); // the area is part of the key

    s = Lookup(db, 0, 2, 5, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(s.name, ""); // a null name is empty, not unregistered
    EXPECT_EQ(s.line, "中央");

    s = Lookup(db, 0, 3, 48, &found);
    EXPECT_EQ(s.name, "大崎"); // first row only

    for (const auto& [area, line, station] : {std::tuple{0, 4, 18}, std::tuple{0, 200, 200}}) {
        s = Lookup(db, area, line, station, &found);
        EXPECT_FALSE(found);
        EXPECT_EQ(s.name, "未登録");
        EXPECT_EQ(s.line, "");
        EXPECT_EQ(s.company, "");
        EXPECT_EQ(s.latitude, -1); // coordinates untouched
        EXPECT_EQ(s.longitude, -1);
    }
}

TEST_F(StationDbTest, BusLookups)
{
    StationDb db;
    ASSERT_TRUE(db.Connect(fixture.ConnectString(), "", kOptions));
    QString name, line, company;
    EXPECT_TRUE(db.LookupBusStop(291, 69, name, line, company));
    EXPECT_EQ(name, "市役所前");
    EXPECT_EQ(line, "系統1");
    EXPECT_EQ(company, "市営バス");
    EXPECT_TRUE(db.LookupBusStop(-1, 3, name, line, company));
    EXPECT_EQ(name, "負号");
    EXPECT_FALSE(db.LookupBusStop(291, 70, name, line, company));
    EXPECT_EQ(name, "未登録");
    EXPECT_EQ(line, "");
    EXPECT_EQ(company, "");
}

TEST_F(StationDbTest, OpensReadOnly)
{
    StationDb db;
    ASSERT_TRUE(db.Connect(fixture.ConnectString(), "", kOptions));
    // The same file through our own connection name cannot be written.
    QSqlDatabase raw = QSqlDatabase::database(
        QSqlDatabase::connectionNames().filter("StationDb-").value(0), false);
    ASSERT_TRUE(raw.isOpen());
    QSqlQuery q(raw);
    EXPECT_FALSE(q.exec("DELETE FROM StationCode"));
}

TEST_F(StationDbTest, QueryErrorsLeaveOutputsUntouched)
{
    QTemporaryDir other;
    const QString path = other.filePath("empty.sqlite");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "empty");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("CREATE TABLE Other (x INTEGER)");
        db.close();
    }
    QSqlDatabase::removeDatabase("empty");
    StationDb db;
    ASSERT_TRUE(db.Connect("DBQ=" + path + ";", "", kOptions));
    bool found = true;
    const Station s = Lookup(db, 0, 1, 16, &found);
    EXPECT_FALSE(found);
    EXPECT_EQ(s.name, "old");
    QString name = "old", line, company;
    EXPECT_FALSE(db.LookupBusStop(1, 1, name, line, company));
    EXPECT_EQ(name, "old");
}

TEST_F(StationDbTest, OdbcAnswersTheSameQueries)
{
    StationDb db;
    ASSERT_TRUE(db.Connect("Driver=SQLite3;Database=" + fixture.Path() + ";", "", kOptions))
        << "the SQLite ODBC driver (libsqliteodbc) must be registered with unixODBC";
    bool found = false;
    Station s = Lookup(db, 0, 1, 32, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(s.name, "新宿");
    EXPECT_EQ(s.company, "ＪＲ東");
    EXPECT_EQ(s.longitude, 139.1);
    s = Lookup(db, 0, 9, 9, &found);
    EXPECT_FALSE(found);
    EXPECT_EQ(s.name, "未登録");
    QString name, line, company;
    EXPECT_TRUE(db.LookupBusStop(291, 69, name, line, company));
    EXPECT_EQ(name, "市役所前");
}

TEST(StationDbShared, LooksUpRowsOfTheFullDatabase)
{
    const QString path = StationFixture::SharedDatabase();
    if (path.isEmpty())
        GTEST_SKIP() << "../shared/data/stations.sqlite is missing";
    // Compare with what a plain query finds, for a sample of stations and stops.
    struct Expected {
        int area, line, station;
        QString name;
        double latitude;
    };
    std::vector<Expected> expected;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "shared");
        raw.setDatabaseName(path);
        raw.setConnectOptions("QSQLITE_OPEN_READONLY");
        ASSERT_TRUE(raw.open());
        QSqlQuery q(raw);
        ASSERT_TRUE(
            q.exec("SELECT s.AreaCode, s.LineCode, s.StationCode, s.StationName, "
                   "s.Latitude FROM StationCode s JOIN Company c ON s.CompanyCode = c.Code "
                   "WHERE s.LineCode < 256 AND s.StationCode < 256 AND (SELECT COUNT(*) FROM "
                   "StationCode t WHERE t.AreaCode = s.AreaCode AND t.LineCode = "
                   "s.LineCode AND t.StationCode = s.StationCode) = 1 ORDER BY s.rowid "
                   "LIMIT 50"));
        while (q.next())
            expected.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(),
                                q.value(3).toString(), q.value(4).toDouble()});
        raw.close();
    }
    QSqlDatabase::removeDatabase("shared");
    ASSERT_FALSE(expected.empty());

    StationDb db;
    ASSERT_TRUE(db.Connect("DBQ=" + path + ";", "", kOptions));
    for (const Expected& e : expected) {
        const Station s = Lookup(db, e.area, e.line, e.station);
        EXPECT_EQ(s.name, e.name);
        EXPECT_EQ(s.latitude, e.latitude);
    }
}
