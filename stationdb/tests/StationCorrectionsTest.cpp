#include "StationCorrections.h"

#include "StationDb.h"
#include "StationFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
constexpr unsigned kOptions = StationDb::kReadOnly | StationDb::kNoDialog;

class StationCorrectionsTest : public ::testing::Test
{
protected:
    QString Write(const QByteArray& bytes)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QByteArray Read(const QString& file) const
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    QStringList Aside() const
    {
        return QDir(dir.path())
            .entryList({"StationCorrections.unreadable-*"},
                       QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
    QString path = dir.filePath("StationCorrections.json");
};
} // namespace

TEST(StationCode, TextAndRanges)
{
    EXPECT_EQ(StationCode::Rail(0, 37, 12).Text(), "エリア 0　路線 37　駅 12");
    EXPECT_EQ(StationCode::Bus(-1, 70000).Text(), "バス路線 -1　停留所 70000");
    EXPECT_TRUE(StationCode::Rail(255, 0, 255).IsValid());
    EXPECT_FALSE(StationCode::Rail(0, 256, 1).IsValid());
    EXPECT_FALSE(StationCode::Rail(-1, 1, 1).IsValid());
    EXPECT_TRUE(StationCode::Bus(-5, 70000).IsValid());
    EXPECT_LT(StationCode::Rail(255, 255, 255), StationCode::Bus(0, 0)); // rail lists first
}

TEST(StationNames, CorrectionOverTheDatabase)
{
    const StationNames database{"未登録", "中央線", "ＪＲ東"};
    EXPECT_EQ((StationNames{"四ツ谷", "", ""}.Over(database)),
              (StationNames{"四ツ谷", "中央線", "ＪＲ東"}));
    EXPECT_EQ((StationNames{"四ツ谷", "快速", "東日本"}.Over(database)),
              (StationNames{"四ツ谷", "快速", "東日本"}));
}

TEST_F(StationCorrectionsTest, KeepsWhatItWritesAndAMissingFileIsEmpty)
{
    StationCorrections corrections(path);
    QString problem = "old";
    EXPECT_TRUE(corrections.Load(&problem));
    EXPECT_TRUE(problem.isEmpty());
    EXPECT_TRUE(corrections.Entries().empty());

    corrections.Set(StationCode::Rail(0, 37, 12), StationNames{"四ツ谷", "中央線", "ＪＲ東"});
    corrections.Set(StationCode::Bus(-1, 3), StationNames{"負号前", "", ""});
    corrections.Set(StationCode::Rail(3, 1, 16), StationNames{"博多", "", "ＪＲ九"});
    QString error;
    ASSERT_TRUE(corrections.Save(&error)) << error.toStdString();
    // Readable by hand: UTF-8 text, one field a line.
    const QByteArray text = Read(path);
    EXPECT_TRUE(text.contains("\"name\": \"四ツ谷\"")) << text.toStdString();
    EXPECT_FALSE(text.contains("\"lineName\": \"\"")) << "empty names are left out";

    StationCorrections again(path);
    ASSERT_TRUE(again.Load(&problem)) << problem.toStdString();
    EXPECT_EQ(again.Entries(), corrections.Entries());
    EXPECT_EQ(again.Get(StationCode::Bus(-1, 3))->station, "負号前");
    EXPECT_FALSE(again.Get(StationCode::Rail(0, 37, 13)));

    again.Set(StationCode::Rail(0, 37, 12), std::nullopt);
    ASSERT_TRUE(again.Save(&error));
    StationCorrections third(path);
    third.Load(&problem);
    EXPECT_EQ(third.Entries().size(), 2u);
    EXPECT_EQ(third.Find(StationCode::Rail(0, 37, 12)), nullptr);
}

// A file the program cannot take as its table is moved aside whole, never
// emptied; the user is told where it went, and saving starts a new table.
TEST_F(StationCorrectionsTest, AnUnreadableFileIsSetAsideAndReported)
{
    const char* broken[] = {
        "",
        "{\"version\": 1, \"rail\": [{\"area\": 0, \"line\": 1, \"station\": 2, \"name\": \"東",
        "[1, 2]",
        "{\"rail\": []}",
        "{\"version\": 2, \"rail\": []}",
        "{\"version\": 1, \"rail\": {}}",
        "{\"version\": 1, \"rail\": [{\"area\": 0, \"line\": 256, \"station\": 2, \"name\": "
        "\"x\"}]}",
        "{\"version\": 1, \"rail\": [{\"area\": 0, \"line\": 1.5, \"station\": 2, \"name\": "
        "\"x\"}]}",
        "{\"version\": 1, \"rail\": [{\"area\": 0, \"line\": 1, \"station\": 2}]}",
        "{\"version\": 1, \"rail\": [{\"area\": 0, \"line\": 1, \"station\": 2, \"name\": \" \"}]}",
        "{\"version\": 1, \"rail\": [{\"area\": 0, \"line\": 1, \"station\": 2, \"name\": "
        "\"a\\tb\"}]}",
        "{\"version\": 1, \"bus\": [{\"line\": 1, \"stop\": 2, \"name\": \"a\", \"company\": 3}]}",
        "{\"version\": 1, \"bus\": [{\"line\": 1, \"stop\": 2, \"name\": \"a\"},"
        " {\"line\": 1, \"stop\": 2, \"name\": \"b\"}]}",
        "{\"version\": 1, \"bus\": [{\"line\": 4294967296, \"stop\": 2, \"name\": \"a\"}]}",
    };
    for (const char* bytes : broken) {
        SCOPED_TRACE(bytes);
        for (const QString& old : Aside())
            QFile::remove(dir.filePath(old));
        Write(bytes);
        StationCorrections corrections(path);
        QString problem;
        EXPECT_FALSE(corrections.Load(&problem));
        EXPECT_TRUE(corrections.Entries().empty());
        ASSERT_EQ(Aside().size(), 1);
        const QString aside = dir.filePath(Aside()[0]);
        EXPECT_EQ(Read(aside), QByteArray(bytes)); // kept whole
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_TRUE(problem.startsWith("駅名の訂正ファイル " + path + " を読めませんでした（"))
            << problem.toStdString();
        EXPECT_TRUE(problem.contains(aside + " として残し")) << problem.toStdString();

        corrections.Set(StationCode::Rail(0, 1, 2), StationNames{"東京", "", ""});
        QString error;
        EXPECT_TRUE(corrections.Save(&error)) << error.toStdString();
        EXPECT_EQ(Read(aside), QByteArray(bytes)); // a save leaves it alone
    }
}

TEST_F(StationCorrectionsTest, AFolderInTheWayIsSetAsideToo)
{
    ASSERT_TRUE(QDir().mkdir(path));
    StationCorrections corrections(path);
    QString problem;
    EXPECT_FALSE(corrections.Load(&problem));
    EXPECT_FALSE(problem.isEmpty());
    EXPECT_EQ(Aside().size(), 1);
    QString error;
    EXPECT_TRUE(corrections.Save(&error)) << error.toStdString();
}

// A file that cannot be moved is never written over.
TEST_F(StationCorrectionsTest, AFileThatCannotBeMovedIsNeverWritten)
{
    const QString system = QStringLiteral("/proc/version");
    const QByteArray before = Read(system);
    StationCorrections corrections(system);
    QString problem;
    EXPECT_FALSE(corrections.Load(&problem));
    EXPECT_TRUE(problem.contains("このファイルには書き込みません")) << problem.toStdString();
    corrections.Set(StationCode::Rail(0, 1, 2), StationNames{"東京", "", ""});
    QString error;
    EXPECT_FALSE(corrections.Save(&error));
    EXPECT_EQ(error, "駅名の訂正ファイル /proc/version を読めないため、訂正を保存できません。");
    EXPECT_EQ(Read(system), before);
}

TEST_F(StationCorrectionsTest, WrittenWithoutTouchingTheOldFileWhenTheWriteFails)
{
    StationCorrections corrections(path);
    corrections.Set(StationCode::Rail(0, 1, 2), StationNames{"東京", "", ""});
    QString error;
    ASSERT_TRUE(corrections.Save(&error));
    const QByteArray saved = Read(path);
    // A folder that is gone: the rename never happens.
    StationCorrections elsewhere(dir.filePath("gone/StationCorrections.json"));
    elsewhere.Set(StationCode::Rail(0, 1, 2), StationNames{"x", "", ""});
    EXPECT_FALSE(elsewhere.Save(&error));
    EXPECT_TRUE(error.contains("gone/StationCorrections.json")) << error.toStdString();
    EXPECT_EQ(Read(path), saved);
}

TEST(StationCorrectionsNames, WhatMayBeStored)
{
    for (const char* name : {"四ツ谷", "神田 東口", "A-1"})
        EXPECT_TRUE(StationCorrections::IsValidName(QString::fromUtf8(name))) << name;
    for (const char* name : {"", "  ", "a\tb", "a\nb", "a\u2028b"})
        EXPECT_FALSE(StationCorrections::IsValidName(QString::fromUtf8(name))) << name;
    EXPECT_FALSE(StationCorrections::IsValidName(QString(QChar(0xD800)) + "x")); // half a pair
}

// Every lookup takes the user's correction over the database's row, the
// database's line and company where the correction gives none.
TEST_F(StationCorrectionsTest, LookupsTakeTheCorrectionFirst)
{
    StationFixture fixture(dir.filePath("FenwirStn.mdb"));
    StationCorrections corrections(path);
    corrections.Set(StationCode::Rail(0, 1, 16), StationNames{"東京中央", "", ""});
    corrections.Set(StationCode::Rail(0, 200, 200), StationNames{"新駅", "新線", "新会社"});
    corrections.Set(StationCode::Rail(0, 9, 9), StationNames{"名だけ", "", ""});
    corrections.Set(StationCode::Bus(291, 69), StationNames{"市役所", "", "市バス"});
    QString error;
    ASSERT_TRUE(corrections.Save(&error));

    StationDb db(path);
    ASSERT_TRUE(db.Connect(fixture.ConnectString(), "", kOptions));
    EXPECT_TRUE(db.CorrectionsProblem().isEmpty());
    struct Case {
        StationCode code;
        StationNames names;
        bool found;
    };
    const Case cases[] = {
        {StationCode::Rail(0, 1, 16), {"東京中央", "山手", "ＪＲ東"}, true},
        {StationCode::Rail(0, 200, 200), {"新駅", "新線", "新会社"}, true},
        {StationCode::Rail(0, 9, 9), {"名だけ", "", ""}, true},
        {StationCode::Rail(0, 1, 32), {"新宿", "山手", "ＪＲ東"}, true},
        {StationCode::Rail(0, 8, 8), {"未登録", "", ""}, false},
        {StationCode::Bus(291, 69), {"市役所", "系統1", "市バス"}, true},
        {StationCode::Bus(291, 70), {"未登録", "", ""}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code.Text().toStdString());
        StationNames names{"old", "old", "old"};
        EXPECT_EQ(db.LookupCode(c.code, names), c.found);
        EXPECT_EQ(names, c.names);
    }
    // The coordinates stay the database's.
    QString name, line, company;
    double latitude = -1, longitude = -1;
    db.LookupStation(0, 1, 16, name, line, company, latitude, longitude);
    EXPECT_EQ(latitude, 35.0);

    // Without the database the corrections still answer; without corrections
    // the database alone does.
    StationDb closed(path);
    EXPECT_FALSE(closed.Connect("DBQ=/nonexistent/x.sqlite;", "", kOptions));
    StationNames names;
    EXPECT_TRUE(closed.LookupCode(StationCode::Rail(0, 200, 200), names));
    EXPECT_EQ(names.station, "新駅");
    StationDb plain{QString()};
    ASSERT_TRUE(plain.Connect(fixture.ConnectString(), "", kOptions));
    EXPECT_FALSE(plain.LookupCode(StationCode::Rail(0, 200, 200), names));
    EXPECT_EQ(names.station, "未登録");
}

TEST_F(StationCorrectionsTest, ABrokenFileIsReportedAtConnect)
{
    StationFixture fixture(dir.filePath("FenwirStn.mdb"));
    Write("{oops");
    StationDb db(path);
    ASSERT_TRUE(db.Connect(fixture.ConnectString(), "", kOptions));
    EXPECT_TRUE(db.CorrectionsProblem().contains(path)) << db.CorrectionsProblem().toStdString();
    StationNames names;
    EXPECT_TRUE(db.LookupCode(StationCode::Rail(0, 1, 16), names));
    EXPECT_EQ(names.station, "東京");
    // Once set aside, the next connection starts from no corrections, quietly.
    StationDb next(path);
    ASSERT_TRUE(next.Connect(fixture.ConnectString(), "", kOptions));
    EXPECT_TRUE(next.CorrectionsProblem().isEmpty());
}
