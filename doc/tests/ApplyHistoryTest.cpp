#include "ApplyHistory.h"

#include "AppSettings.h"
#include "ArchiveError.h"
#include "ArchiveReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class ApplyHistoryTest : public ::testing::Test
{
protected:
    ApplyHistoryTest() { settings.DefaultPath = dir.path(); }

    QString HistoryFile() const { return dir.filePath("ApplyHistory/Apply.hst"); }

    void WriteHistoryFile(const QByteArray& bytes)
    {
        QDir(dir.path()).mkpath("ApplyHistory");
        QFile file(HistoryFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir;
    AppSettings settings;
};
} // namespace

TEST_F(ApplyHistoryTest, MissingFileIsAnEmptyHistory)
{
    ApplyHistory history;
    EXPECT_FALSE(history.Load(settings));
    EXPECT_TRUE(history.Records().empty());
}

TEST_F(ApplyHistoryTest, SaveAndLoadRoundTrip)
{
    ApplyHistory history;
    history.Add({1'700'000'000, 1234, "/a/Apply240501-090307.ent"});
    history.Add({1'700'000'100, -50, "/a/駅.ent"});
    EXPECT_TRUE(history.Save(settings));
    ApplyHistory again;
    EXPECT_TRUE(again.Load(settings));
    EXPECT_EQ(again.Records(), history.Records());
}

TEST_F(ApplyHistoryTest, EmptyHistoryIsAnEmptyFile)
{
    ApplyHistory history;
    EXPECT_FALSE(history.Save(settings));
    QFile file(HistoryFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.size(), 0);
}

TEST_F(ApplyHistoryTest, DamagedFilesLoadEmptyAndAreKeptAside)
{
    std::vector<ApplyRecord> one = {{5, 6, "x"}};
    QByteArray tooShort = ApplyHistory::Serialize(one);
    tooShort[52] = 2; // count 2, one record
    const QByteArray cases[] = {tooShort, QByteArray("foreign content"),
                                ApplyHistory::Serialize(one).left(60)};
    for (const QByteArray& bytes : cases) {
        ASSERT_EQ(ApplyHistory::Serialize(one).mid(52, 4), QByteArray("\x01\x00\x00\x00", 4));
        WriteHistoryFile(bytes);
        ApplyHistory history;
        history.Add({1, 1, "old"});
        EXPECT_FALSE(history.Load(settings));
        EXPECT_TRUE(history.Records().empty());

        history.Add({7, 8, "new"});
        EXPECT_TRUE(history.Save(settings));
        const QStringList aside =
            QDir(dir.filePath("ApplyHistory")).entryList({"Apply-unreadable-*.hst"});
        ASSERT_EQ(aside.size(), 1);
        QFile kept(dir.filePath("ApplyHistory/" + aside[0]));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), bytes);
        kept.remove();
    }
}

TEST_F(ApplyHistoryTest, EmptyFileIsNotKeptAside)
{
    WriteHistoryFile(QByteArray());
    ApplyHistory history;
    EXPECT_FALSE(history.Load(settings));
    history.Add({7, 8, "new"});
    EXPECT_TRUE(history.Save(settings));
    EXPECT_EQ(QDir(dir.filePath("ApplyHistory")).entryList(QDir::Files).size(), 1);
}

TEST(ApplyHistoryParse, HostileCountFailsCleanly)
{
    QByteArray bytes = ApplyHistory::Serialize({{1, 2, "p"}});
    bytes[52] = '\xFF';
    bytes[53] = '\xFF';
    bytes[54] = '\xFF';
    bytes[55] = '\x7F';
    EXPECT_THROW(ApplyHistory::Parse(bytes), ArchiveError);
}

// Cancellations follow the records, so a history written now still reads
// in earlier versions (which stop after the records), and one without any
// is byte for byte what they write.
TEST(ApplyHistoryParse, CancellationsKeepTheFormatEarlierVersionsRead)
{
    const std::vector<ApplyRecord> records = {{1, 300, "/a/Apply261002-090000.ent", 0},
                                              {2, 900, "/a/Apply261102-090000.ent", 1'795'000'000}};
    const QByteArray bytes = ApplyHistory::Serialize(records);
    EXPECT_EQ(ApplyHistory::Parse(bytes), records);

    // What an earlier version reads: the marker, the count and the records.
    ArchiveReader earlier(bytes);
    EXPECT_EQ(earlier.ReadString(), ApplyHistory::kMarker);
    ASSERT_EQ(earlier.ReadInt32(), 2);
    for (const ApplyRecord& record : records) {
        EXPECT_EQ(earlier.ReadTime(), record.documentTime);
        EXPECT_EQ(earlier.ReadInt32(), record.amount);
        EXPECT_EQ(earlier.ReadString(), record.snapshotPath);
    }

    std::vector<ApplyRecord> standing = records;
    standing[1].cancelled = 0;
    EXPECT_EQ(ApplyHistory::Serialize(standing), bytes.left(static_cast<int>(earlier.Position())));
    // Whatever a later version adds after the records is passed by.
    EXPECT_EQ(ApplyHistory::Parse(ApplyHistory::Serialize(standing) + QByteArray("\x03xyz", 4)),
              standing);
    // A cut cancellation section is a damaged file.
    EXPECT_THROW(ApplyHistory::Parse(bytes.left(bytes.size() - 3)), ArchiveError);
}
