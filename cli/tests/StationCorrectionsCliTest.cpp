// The user's station-name corrections from the command line: made, listed,
// taken back, and used by every lookup and read whatever database is given.
#include "ChildProcess.h"
#include "CliFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace
{
class StationCorrectionsCliTest : public CliTest
{
protected:
    // Each test starts and ends with no table, as the data folder may be
    // the user's own (Windows).
    StationCorrectionsCliTest() { RemoveTables(); }
    ~StationCorrectionsCliTest() override { RemoveTables(); }
    void RemoveTables() const
    {
        QDir folder(ChildProcess::DataFolder(Home()));
        for (const QString& name : folder.entryList({"StationCorrections*.json"}, QDir::Files))
            folder.remove(name);
    }
    QString Table() const { return ChildProcess::DataFolder(Home()) + "/StationCorrections.json"; }
    QStringList Aside() const
    {
        return QDir(ChildProcess::DataFolder(Home()))
            .entryList({"StationCorrections.unreadable-*"});
    }
    // A second database, with other names for the same codes.
    QString OtherDb()
    {
        const QString db = dir.filePath("other.sqlite");
        const QString csv = File("other.csv", QByteArray("0,1,16,西鉄道,西線,西東京\n"
                                                         "0,1,32,西鉄道,西線,西新宿\n"
                                                         "bus,291,69,西バス,西1,西市役所\n"));
        EXPECT_EQ(Cli({"stations", "import", csv, db}).status, 0);
        return db;
    }
};
} // namespace

TEST_F(StationCorrectionsCliTest, MadeListedUsedAndTakenBack)
{
    const QString other = OtherDb();
    ASSERT_EQ(Cli({"stations", "correct", "0", "1", "0x20", "新宿南口"}).status, 0);
    CliRun run = Cli({"stations", "correct", "--bus", "291", "69", "市役所", "", "市バス"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    ASSERT_EQ(Cli({"stations", "correct", "0", "200", "200", " 新駅 ", "新線", "新鉄道"}).status,
              0);
    ASSERT_EQ(Cli({"stations", "correct", "0", "200", "200", "新駅前"}).status, 0); // replaces

    run = Cli({"stations", "corrections"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "0\t1\t32\t新宿南口\t\t\n"
                       "0\t200\t200\t新駅前\t\t\n"
                       "bus\t291\t69\t市役所\t\t市バス\n");

    // Whichever database: the correction first, the database's line and
    // company where the correction has none.
    for (const QString& db : {Db(), other}) {
        SCOPED_TRACE(db.toStdString());
        run = Cli({"stations", "lookup", "--station-db", db, "0", "1", "32"});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(db == Db() ? "新宿南口\t山手\tＪＲ東\t"
                                                  : "新宿南口\t西線\t西鉄道\t"))
            << run.out.toStdString();
        run = Cli({"stations", "bus", "--station-db", db, "291", "69"});
        EXPECT_EQ(run.out, db == Db() ? "市役所\t系統1\t市バス\n" : "市役所\t西1\t市バス\n");
        run = Cli({"stations", "lookup", "--station-db", db, "0", "200", "200"});
        EXPECT_TRUE(run.out.startsWith("新駅前\t\t\t")) << run.out.toStdString();
    }

    // A read takes them too.
    const QString ent = dir.filePath("claim.ent");
    run = Cli(
        {"import-dump", "--json", "--station-db", other, File("card.txt", Dump(2).toUtf8()), ent});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray lines = QJsonDocument::fromJson(run.out.toUtf8())["lines"].toArray();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0]["entryStationName"].toString(), "新宿南口");
    EXPECT_EQ(lines[0]["exitStationName"].toString(), "西東京");
    EXPECT_EQ(lines[1]["exitStationName"].toString(), "新宿南口");

    ASSERT_EQ(Cli({"stations", "correct", "--remove", "0", "1", "32"}).status, 0);
    ASSERT_EQ(Cli({"stations", "correct", "--remove", "--bus", "291", "69"}).status, 0);
    run = Cli({"stations", "corrections"});
    EXPECT_EQ(run.out, "0\t200\t200\t新駅前\t\t\n");
    run = Cli({"stations", "lookup", "--station-db", Db(), "0", "1", "32"});
    EXPECT_TRUE(run.out.startsWith("新宿\t")) << run.out.toStdString();
}

TEST_F(StationCorrectionsCliTest, WrongWordsChangeNothing)
{
    ASSERT_EQ(Cli({"stations", "correct", "0", "1", "16", "東京駅"}).status, 0);
    const QByteArray before = Bytes(Table());
    struct Case {
        QStringList args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"stations", "correct", "0", "1", "16"}, 2, "stations の引数が正しくありません。"},
        {{"stations", "correct", "0", "1", "256", "x"}, 2, ""},
        {{"stations", "correct", "0", "1", "x", "x"}, 2, ""},
        {{"stations", "correct", "0", "1", "16", "a", "b", "c", "d"}, 2, ""},
        {{"stations", "correct", "--bus", "1", "2147483648", "x"}, 2, ""},
        {{"stations", "correct", "--remove", "0", "1", "16", "x"}, 2, ""},
        {{"stations", "correct", "--remove", "--bus", "1"}, 2, ""},
        {{"stations", "corrections", "extra"}, 2, ""},
        {{"stations", "lookup", "--bus", "0", "1", "16"}, 2, ""},
        {{"stations", "correct", "0", "1", "16", "  "}, 1, "駅名がありません。"},
        {{"stations", "correct", "0", "1", "16", "東\t京"}, 1, "名前に使えない文字があります。"},
        {{"stations", "correct", "0", "1", "16", "東京", "山手\n線"},
         1,
         "名前に使えない文字があります。"},
        {{"stations", "correct", "--remove", "0", "1", "17"},
         1,
         "エリア 0　路線 1　駅 17 の訂正はありません。"},
        {{"stations", "correct", "--remove", "--bus", "0", "1"},
         1,
         "バス路線 0　停留所 1 の訂正はありません。"},
    };
    for (const Case& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message)))
            << c.args.join(' ').toStdString() << " => " << run.err.toStdString();
        EXPECT_EQ(Bytes(Table()), before) << c.args.join(' ').toStdString();
    }
}

// A table the program cannot read is moved aside whole and the user told;
// lookups go on without it, and the next correction starts a new table.
TEST_F(StationCorrectionsCliTest, AnUnreadableTableIsSetAsideNeverEmptied)
{
    ASSERT_EQ(Cli({"stations", "correct", "0", "1", "16", "東京駅"}).status, 0);
    QFile table(Table());
    ASSERT_TRUE(table.open(QIODevice::Append));
    table.write("garbage");
    table.close();
    const QByteArray broken = Bytes(Table());

    CliRun run = Cli({"stations", "corrections"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith("駅名の訂正ファイル " + Table() + " を読めませんでした（"))
        << run.err.toStdString();
    ASSERT_EQ(Aside().size(), 1);
    const QString aside = QFileInfo(Table()).dir().filePath(Aside()[0]);
    EXPECT_TRUE(run.err.contains(aside + " として残し")) << run.err.toStdString();
    EXPECT_EQ(Bytes(aside), broken);

    run = Cli({"stations", "lookup", "--station-db", Db(), "0", "1", "16"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.startsWith("東京\t")) << run.out.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << "reported once: " << run.err.toStdString();

    ASSERT_EQ(Cli({"stations", "correct", "0", "1", "32", "新宿駅"}).status, 0);
    EXPECT_EQ(Cli({"stations", "corrections"}).out, "0\t1\t32\t新宿駅\t\t\n");
    EXPECT_EQ(Bytes(aside), broken);
}

TEST_F(StationCorrectionsCliTest, AFailedWriteKeepsTheTable)
{
    if (!CanLimitFileSize())
        GTEST_SKIP() << "no full disk can be had for one process here";
    ASSERT_EQ(Cli({"stations", "correct", "0", "1", "16", "東京駅"}).status, 0);
    const QByteArray before = Bytes(Table());
    // A disk that takes no more than a few bytes per file.
    const CliRun run = Cli({"stations", "correct", "0", "1", "32", "新宿駅"}, QString(), 16);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("StationCorrections.json に書き込めませんでした"))
        << run.err.toStdString();
    EXPECT_EQ(Bytes(Table()), before);
}

// Two corrections at once, the first held between reading the table and
// writing it: the second waits for it, and the table keeps both.
TEST_F(StationCorrectionsCliTest, TwoCorrectionsAtOnceAreBothKept)
{
    const QString first = dir.filePath("first");
    const QString second = dir.filePath("second");
    const auto hold = [](const QString& prefix) {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("FENWIR_TEST_HOLD"), prefix);
        return environment;
    };
    const auto firstRun = Start({"stations", "correct", "0", "1", "16", "東京駅"}, hold(first));
    ASSERT_TRUE(WaitForFile(first + ".held")) << Finish(*firstRun).err.toStdString();
    const auto secondRun = Start({"stations", "correct", "0", "1", "32", "新宿駅"}, hold(second));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFile::exists(second + ".waiting") || QFile::exists(second + ".held"); },
        30000));
    EXPECT_TRUE(QFile::exists(second + ".waiting"));
    File("first.go", {});
    EXPECT_EQ(Finish(*firstRun).status, 0);
    ASSERT_TRUE(WaitForFile(second + ".held"));
    File("second.go", {});
    EXPECT_EQ(Finish(*secondRun).status, 0);
    EXPECT_EQ(Cli({"stations", "corrections"}).out, "0\t1\t16\t東京駅\t\t\n0\t1\t32\t新宿駅\t\t\n");
}
