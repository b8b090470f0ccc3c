#include "ImportHistory.h"

#include "AppSettings.h"
#include "BlockDecodeError.h"
#include "CardReadJob.h"
#include "LocalTime.h"
#include "MessageReporter.h"
#include "StationCorrections.h"
#include "StationFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class RecordingReporter : public MessageReporter
{
public:
    void Report(int id, const QString& text, Icon icon) override
    {
        ids.push_back(id);
        texts.push_back(text);
        icons.push_back(icon);
    }
    std::vector<int> ids;
    QStringList texts;
    std::vector<Icon> icons;
};

// A history record of November 2026; codes are bytes 6-9.
HistoryBlock Record(int terminal, int process, int day, std::array<int, 4> codes, int balance,
                    int serial, int payment = 0)
{
    const int date = (26 << 9) | (11 << 5) | day;
    HistoryBlock b{};
    b[0] = terminal;
    b[1] = process;
    b[2] = payment;
    b[4] = date >> 8;
    b[5] = date & 0xFF;
    for (int i = 0; i < 4; ++i)
        b[6 + i] = codes[i];
    b[10] = balance & 0xFF;
    b[11] = balance >> 8;
    b[12] = serial >> 16;
    b[13] = (serial >> 8) & 0xFF;
    b[14] = serial & 0xFF;
    return b;
}

HistoryBlock Rail(int day, int fromLine, int from, int toLine, int to, int balance, int serial)
{
    return Record(0x16, 1, day, {fromLine, from, toLine, to}, balance, serial);
}

class ImportHistoryTest : public ::testing::Test
{
protected:
    ImportHistoryTest() { card.idm = {0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x5C, 0x6D}; }

    // Imports the blocks (newest first) as one read.
    std::int32_t Import(const HistoryBlocks& blocks, QString connect = QString())
    {
        if (connect.isNull())
            connect = fixture.ConnectString();
        CardReadJob job(lines, rows, card);
        job.Blocks() = blocks;
        return ImportHistory(job, connect, "5d0f7a2c9e13b846", settings, messages);
    }

    QTemporaryDir dir;
    StationFixture fixture{dir.filePath("FenwirStn.mdb")};
    AppSettings settings;
    RecordingReporter messages;
    EntryLines lines;
    std::vector<CardHistoryRow> rows;
    CardInfo card;
};
} // namespace

TEST_F(ImportHistoryTest, NamesStationsAndAppendsOldestFirst)
{
    settings.AddVisit("本社", "新宿");
    const HistoryBlocks blocks = {
        Rail(3, 1, 32, 1, 16, 800, 11), // newest
        Rail(2, 1, 16, 1, 32, 1000, 10),
        Record(7, 2, 1, {1, 16, 0, 0}, 1200, 9), // oldest: a cash charge
    };
    EXPECT_EQ(Import(blocks), 800);
    EXPECT_TRUE(messages.ids.empty());
    ASSERT_EQ(lines.size(), 3u);
    ASSERT_EQ(rows.size(), 3u);

    const EntryInfo& charge = *lines[0];
    EXPECT_EQ(charge.serialNumber, 9);
    EXPECT_EQ(charge.remarks, "現金チャージ");
    EXPECT_EQ(charge.entryStationName, "東京");
    EXPECT_EQ(charge.exitStationName, ""); // no exit line
    EXPECT_EQ(charge.visitDestination, "");

    const EntryInfo& out = *lines[1];
    EXPECT_EQ(out.fare, 200);
    EXPECT_EQ(out.applyFlag, 1);
    EXPECT_EQ(out.entryStationName, "東京");
    EXPECT_EQ(out.entryLineName, "山手");
    EXPECT_EQ(out.entryCompanyName, "ＪＲ東");
    EXPECT_EQ(out.exitStationName, "新宿");
    EXPECT_EQ(out.visitDestination, "本社");
    EXPECT_EQ(out.remarks, "");
    EXPECT_EQ(out.distance, 9118);
    EXPECT_FLOAT_EQ(out.bearing, 90.0f);
    EXPECT_EQ(out.idm, card.idm);

    const EntryInfo& back = *lines[2];
    EXPECT_EQ(back.exitStationName, "東京");
    EXPECT_EQ(back.visitDestination, "");
    EXPECT_FLOAT_EQ(back.bearing, 270.0f);
}

TEST_F(ImportHistoryTest, SecondReadOfTheSameCardAddsNothing)
{
    HistoryBlocks blocks;
    for (int i = 0; i < 20; ++i)
        blocks.push_back(Rail(20 - i, 1, 16, 1, 32, 3100 + 100 * i, 100 + 20 - i));
    EXPECT_EQ(Import(blocks), 3100);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(Import(blocks), 3100);
    EXPECT_EQ(lines.size(), 20u);
    EXPECT_EQ(rows.size(), 20u); // duplicates still have their history rows

    // Three new transactions since: the 17 older blocks are dropped, and the
    // first new line's fare comes from the newest dropped block.
    HistoryBlocks later = {Rail(23, 1, 16, 1, 32, 2600, 123), Rail(22, 1, 16, 1, 32, 2800, 122),
                           Rail(21, 1, 16, 1, 32, 2900, 121)};
    later.insert(later.end(), blocks.begin(), blocks.begin() + 17);
    EXPECT_EQ(Import(later), 2600);
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[20]->serialNumber, 121);
    EXPECT_EQ(lines[20]->fare, 3100 - 2900);
    EXPECT_EQ(lines[21]->fare, 100);
    EXPECT_EQ(lines[22]->fare, 200);
}

// A record the claim holds is not added again, whatever ID the card gave
// this time (a phone's card may change it) and whatever the user edited.
TEST_F(ImportHistoryTest, DuplicatesAreTheSameRecordUnderAnyId)
{
    const HistoryBlocks blocks = {Rail(2, 1, 16, 1, 32, 1000, 10)};
    Import(blocks);
    card.idm[0] = 0x99;
    Import(blocks);
    card.idm = {0x01, 0x2E, 0x44, 0x71, 0x08, 0x9C, 0x10, 0x22};
    Import(blocks);
    lines[0]->entryStationName = "edited";
    lines[0]->fare = 9;
    Import(blocks);
    EXPECT_EQ(lines.size(), 1u);
    Import({Rail(2, 1, 16, 1, 32, 1000, 11)}); // another sequence number
    Import({Rail(2, 1, 16, 1, 32, 1200, 10)}); // another balance
    EXPECT_EQ(lines.size(), 3u);
}

TEST_F(ImportHistoryTest, CompletionByImportClass)
{
    settings.AddVisit("市役所", "市役所前");
    settings.AddVisit("どこか", "共通");
    settings.AddVisit("大崎の客先", "大崎");
    struct Case {
        HistoryBlock block;
        const char* entryName;
        const char* exitName;
        const char* exitLineName;
        const char* visit;
        const char* remarks;
    };
    const Case cases[] = {
        {Record(5, 13, 2, {0x01, 0x23, 0x00, 0x45}, 800, 1), "", "市役所前", "系統1", "市役所",
         "バス等"},
        {Record(5, 13, 2, {0x00, 0x05, 0x00, 0x05}, 800, 2), "", "共通", "", "", "バス等"},
        {Record(5, 13, 2, {0x00, 0x07, 0x00, 0x07}, 800, 3), "", "未登録", "", "", "バス等"},
        {Record(199, 70, 2, {0x9A, 0x40, 1, 16}, 800, 4), "", "", "", "", "物販"},
        // 72 is a shop line for the import although decoded with station codes
        {Record(0x16, 72, 2, {1, 16, 1, 32}, 800, 5), "", "", "", "", "特典チャージ"},
        {Record(7, 2, 2, {1, 16, 3, 48}, 800, 6, 2), "東京", "大崎", "埼京", "大崎の客先",
         "クレジットチャージ"},
        {Record(0x16, 5, 2, {0, 0, 1, 32}, 800, 7), "", "新宿", "山手", "", "入場精算"},
        {Record(0x16, 1, 2, {1, 16, 0, 0}, 800, 8), "東京", "", "", "", ""},
        {Record(0x16, 1, 2, {1, 16, 9, 9}, 800, 9), "東京", "未登録", "", "", ""},
        // The bus test comes before the shop test: these are bus lines for the
        // import (looked up, so "未登録"), though decoded as shop records.
        {Record(5, 70, 2, {1, 16, 1, 32}, 800, 10), "", "未登録", "", "", "物販"},
        {Record(199, 13, 2, {0x9A, 0x40, 0, 0}, 800, 11), "", "未登録", "", "", "バス等"},
        {Record(200, 0x23, 2, {0x9A, 0x40, 0, 0}, 800, 12), "", "未登録", "", "",
         "バス等企画券購入"},
    };
    for (const Case& c : cases) {
        lines.clear();
        Import({c.block, Rail(1, 1, 16, 1, 16, 1000, 0)});
        ASSERT_EQ(lines.size(), 2u);
        const EntryInfo& line = *lines[1];
        SCOPED_TRACE(line.serialNumber);
        EXPECT_EQ(line.entryStationName, QString::fromUtf8(c.entryName));
        EXPECT_EQ(line.exitStationName, QString::fromUtf8(c.exitName));
        EXPECT_EQ(line.exitLineName, QString::fromUtf8(c.exitLineName));
        EXPECT_EQ(line.visitDestination, QString::fromUtf8(c.visit));
        EXPECT_EQ(line.remarks, QString::fromUtf8(c.remarks));
    }
}

TEST_F(ImportHistoryTest, UnknownStationsGetNoDistance)
{
    Import({Rail(2, 1, 16, 9, 9, 800, 1)});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->exitLatitude, 0.0);
    EXPECT_EQ(lines[0]->distance, 0);
    EXPECT_EQ(lines[0]->bearing, 0.0f);
}

TEST_F(ImportHistoryTest, WithoutDatabaseLinesStayUnnamed)
{
    settings.AddVisit("空の駅", "");
    EXPECT_EQ(Import({Rail(2, 1, 16, 1, 32, 800, 1), Rail(1, 1, 32, 1, 16, 1000, 0)},
                     "Driver=x;DBQ=/nonexistent/FenwirStn.mdb;"),
              800);
    ASSERT_EQ(messages.ids, std::vector<int>{146});
    EXPECT_EQ(messages.texts.value(0), "駅名情報データベースの接続に失敗しました。");
    EXPECT_EQ(messages.icons.at(0), MessageReporter::Icon::Exclamation);
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& line : lines) {
        EXPECT_EQ(line->entryStationName, "");
        EXPECT_EQ(line->exitStationName, "");
        EXPECT_EQ(line->visitDestination, "");
        EXPECT_EQ(line->distance, 0);
    }
}

TEST_F(ImportHistoryTest, EmptyReadReturnsMinusOne)
{
    EXPECT_EQ(Import({}), -1);
    EXPECT_TRUE(lines.empty());
}

TEST_F(ImportHistoryTest, UndecodableBlockAbandonsTheRead)
{
    Import({Rail(1, 1, 16, 1, 32, 1000, 1)});
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(rows.size(), 1u);
    HistoryBlock bad = Rail(2, 1, 16, 1, 32, 800, 3);
    bad[5] = 0; // day 0
    const std::vector<CardHistoryRow> before = rows;
    EXPECT_THROW(Import({bad, Rail(2, 1, 32, 1, 16, 900, 2)}), BlockDecodeError);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(rows, before);

    // A read that decodes replaces the rows by its own.
    Import({Rail(3, 1, 16, 1, 32, 700, 5), Rail(3, 1, 32, 1, 16, 900, 4)});
    EXPECT_EQ(rows.size(), 2u);
}

TEST(ComputeDistanceBearing, Examples)
{
    struct Case {
        double lat1, lon1, lat2, lon2;
        std::int32_t distance;
        float bearing;
    };
    const Case cases[] = {
        {35.0, 139.0, 35.0, 139.1, 9118, 90.0f},  {35.0, 139.0, 35.1, 139.0, 11131, 0.0f},
        {35.0, 139.0, 35.0, 139.0, 0, 90.0f},     {35.1, 139.0, 35.0, 139.0, 11131, 180.0f},
        {35.0, 139.1, 35.0, 139.0, 9118, 270.0f}, {35.0, 139.0, 35.1, 139.1, 14389, 39.3227f},
    };
    for (const Case& c : cases) {
        std::int32_t distance = -1;
        float bearing = -1;
        ComputeDistanceBearing(c.lat1, c.lon1, c.lat2, c.lon2, distance, bearing);
        EXPECT_EQ(distance, c.distance) << c.lat2 << "," << c.lon2;
        EXPECT_NEAR(bearing, c.bearing, 1e-3) << c.lat2 << "," << c.lon2;
        EXPECT_GE(bearing, 0.0f);
        EXPECT_LT(bearing, 360.0f);
    }
}

TEST(ImportHistoryShared, FullDatabaseNamesEveryStation)
{
    const QString path = StationFixture::SharedDatabase();
    if (path.isEmpty())
        GTEST_SKIP() << "../shared/data/stations.sqlite is missing";
    // Journeys between stations picked from the database itself.
    std::vector<std::array<int, 3>> stations;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "pick");
        raw.setDatabaseName(path);
        ASSERT_TRUE(raw.open());
        QSqlQuery q(raw);
        ASSERT_TRUE(q.exec("SELECT s.AreaCode, s.LineCode, s.StationCode FROM StationCode s "
                           "JOIN Company c ON s.CompanyCode = c.Code WHERE s.AreaCode = 0 AND "
                           "s.LineCode BETWEEN 1 AND 255 AND s.StationCode < 256 AND "
                           "s.Latitude <> 0 AND s.Longitude <> 0 LIMIT 21"));
        while (q.next())
            stations.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
        raw.close();
    }
    QSqlDatabase::removeDatabase("pick");
    ASSERT_EQ(stations.size(), 21u);

    HistoryBlocks blocks;
    for (int i = 0; i < 20; ++i)
        blocks.push_back(Rail(21 - i, stations[i][1], stations[i][2], stations[i + 1][1],
                              stations[i + 1][2], 3000 + 10 * i, 500 - i));
    EntryLines lines;
    std::vector<CardHistoryRow> rows;
    CardInfo card;
    CardReadJob job(lines, rows, card);
    job.Blocks() = blocks;
    AppSettings settings;
    RecordingReporter messages;
    EXPECT_EQ(ImportHistory(job, "DBQ=" + path + ";", "", settings, messages), 3000);
    EXPECT_TRUE(messages.ids.empty());
    ASSERT_EQ(lines.size(), 20u);
    for (const auto& line : lines) {
        EXPECT_FALSE(line->entryStationName.isEmpty());
        EXPECT_NE(line->entryStationName, "未登録");
        EXPECT_NE(line->exitStationName, "未登録");
        EXPECT_NE(line->entryLatitude, 0.0);
    }
}

// The user's corrections name the lines of a read, rail and bus alike, and
// pick the visit destination by the corrected name.
TEST_F(ImportHistoryTest, CorrectionsComeFirst)
{
    const QString path = StationCorrections::DefaultPath();
    StationCorrections corrections(path);
    corrections.Set(StationCode::Rail(0, 1, 32), StationNames{"新宿南口", "", ""});
    corrections.Set(StationCode::Rail(0, 9, 9), StationNames{"新駅", "新線", "新鉄道"});
    corrections.Set(StationCode::Bus(291, 69), StationNames{"市役所", "", ""});
    QString error;
    ASSERT_TRUE(corrections.Save(&error)) << error.toStdString();
    settings.AddVisit("南口の客先", "新宿南口");
    Import({Record(5, 13, 2, {0x01, 0x23, 0x00, 0x45}, 600, 3), Rail(2, 1, 16, 9, 9, 800, 2),
            Rail(1, 1, 16, 1, 32, 1000, 1)});
    QFile::remove(path);
    EXPECT_TRUE(messages.ids.empty());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]->exitStationName, "新宿南口");
    EXPECT_EQ(lines[0]->exitLineName, "山手");
    EXPECT_EQ(lines[0]->entryStationName, "東京");
    EXPECT_EQ(lines[0]->visitDestination, "南口の客先");
    EXPECT_EQ(lines[0]->distance, 9118); // the database's coordinates stay
    EXPECT_EQ(lines[1]->exitStationName, "新駅");
    EXPECT_EQ(lines[1]->exitCompanyName, "新鉄道");
    EXPECT_EQ(lines[2]->exitStationName, "市役所");
    EXPECT_EQ(lines[2]->exitLineName, "系統1");
}

TEST_F(ImportHistoryTest, AnUnreadableCorrectionsFileIsReported)
{
    const QString path = StationCorrections::DefaultPath();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\"version\": 1, \"rail\": [");
    }
    Import({Rail(1, 1, 16, 1, 32, 1000, 1)});
    const QDir folder = QFileInfo(path).dir();
    const QStringList aside = folder.entryList({"StationCorrections.unreadable-*"});
    for (const QString& name : aside)
        QFile::remove(folder.filePath(name));
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith("駅名の訂正ファイル " + path))
        << messages.texts[0].toStdString();
    EXPECT_EQ(messages.icons.at(0), MessageReporter::Icon::Exclamation);
    EXPECT_EQ(aside.size(), 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->exitStationName, "新宿"); // the read goes on
}
