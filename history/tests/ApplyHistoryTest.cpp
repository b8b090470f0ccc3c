#include "ApplyHistory.h"

#include "AppSettings.h"
#include "HistoryFile.h"
#include "LocalIdentity.h"
#include "PlatformFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
const QDateTime kNow(QDate(2026, 11, 30), QTime(9, 15, 0));

class ApplyHistoryTest : public ::testing::Test
{
protected:
    ApplyHistoryTest()
    {
        settings.DefaultPath = dir.path();
        history.SetClock([] { return kNow; });
    }

    QString Folder() const { return dir.filePath("ApplyHistory"); }
    QString HistoryFile() const { return dir.filePath("ApplyHistory/Apply.hst"); }

    void Write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Read(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList Files() const { return QDir(Folder()).entryList(QDir::Files, QDir::Name); }

    bool Record(std::int32_t amount, QString* error = nullptr)
    {
        ApplyRecord record{1'790'000'000, amount, {}, 0, {}};
        return history.Record("snapshot", record, error);
    }

    QTemporaryDir dir;
    AppSettings settings;
    ApplyHistory history{settings};
    QString error;
};
} // namespace

TEST_F(ApplyHistoryTest, RecordsAndCancelsAsTheFileSays)
{
    EXPECT_FALSE(history.Refresh()); // no file: an empty history, nothing to say
    EXPECT_TRUE(history.Records().empty());
    EXPECT_TRUE(history.Problem().isEmpty());

    ASSERT_TRUE(Record(300, &error)) << error.toStdString();
    ApplyRecord job{1'790'000'100, 600, {}, 0, {"office", 7, 1'795'000'000}};
    ASSERT_TRUE(history.Record("second", job, &error)) << error.toStdString();
    EXPECT_EQ(job.snapshotPath, Folder() + "/Apply261130-091500-2.ent");
    EXPECT_EQ(Files(),
              (QStringList{"Apply.hst", "Apply261130-091500-2.ent", "Apply261130-091500.ent"}));
    EXPECT_EQ(Read(job.snapshotPath), "second");

    ApplyHistory other(settings);
    other.Refresh();
    ASSERT_TRUE(other.Cancel(0, history.Records()[0].snapshotPath, 1'795'100'000, "二重", &error));
    EXPECT_TRUE(history.Refresh());
    ASSERT_EQ(history.Records().size(), 2u);
    EXPECT_EQ(history.Records()[0].cancelled, 1'795'100'000);
    EXPECT_EQ(history.Records()[1], job);

    // A record that is no longer what the caller saw is not taken back.
    EXPECT_FALSE(history.Cancel(1, "elsewhere.ent", 1, "x", &error));
    EXPECT_EQ(error, "その申請は申請履歴にありません。");
    EXPECT_FALSE(history.Cancel(0, history.Records()[0].snapshotPath, 1, "x", &error));
    EXPECT_EQ(error, "その申請はすでに取り消されています。");
}

// An application keeps its number, print time, user, computer and the
// fingerprint of its snapshot; a cancellation its reason and who made it;
// a snapshot whose folder moved is found beside the history.
TEST_F(ApplyHistoryTest, AnApplicationKeepsWhatAnAuditorAsks)
{
    ASSERT_TRUE(Record(300, &error)) << error.toStdString();
    ApplyRecord reserved{1'790'000'100, 600, {}, 0, {}};
    reserved.id = history.NextId();
    reserved.printed = 1'795'000'000;
    EXPECT_EQ(reserved.id, "A00002");
    ASSERT_TRUE(history.Record("second", reserved, &error)) << error.toStdString();
    // A number another program took meanwhile is not given twice.
    ApplyRecord taken{1'790'000'200, 900, {}, 0, {}};
    taken.id = "A00001";
    ASSERT_TRUE(history.Record("third", taken, &error)) << error.toStdString();

    const QString reason = QStringLiteral("𠮷田さんの\"重複\",\n再申請");
    ASSERT_TRUE(history.Cancel(1, reserved.snapshotPath, 1'795'100'000, reason, &error));
    ApplyHistory other(settings);
    other.Refresh();
    const auto& records = other.Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].id, "A00001");
    EXPECT_EQ(records[0].printed, kNow.toSecsSinceEpoch());
    EXPECT_EQ(records[1].printed, 1'795'000'000);
    EXPECT_EQ(records[2].id, "A00003");
    EXPECT_EQ(records[1].sha256, ApplyHistory::Fingerprint("second"));
    EXPECT_EQ(records[1].sha256.size(), 64);
    const ApplyRecord::Actor here{LocalIdentity::LoginName(), LocalIdentity::HostName()};
    EXPECT_FALSE(here.user.isEmpty());
    EXPECT_EQ(records[1].printedBy, here);
    EXPECT_EQ(records[1].cancelReason, reason);
    EXPECT_EQ(records[1].cancelledBy, here);

    // The folder moved: the recorded paths are gone, the names are beside.
    QTemporaryDir moved;
    settings.DefaultPath = moved.path();
    ASSERT_TRUE(QDir().rename(Folder(), moved.filePath("ApplyHistory")));
    EXPECT_EQ(other.SnapshotFile(records[1]),
              moved.filePath("ApplyHistory/") + QFileInfo(records[1].snapshotPath).fileName());
    ApplyRecord nowhere = records[1];
    nowhere.snapshotPath = "/nowhere/Apply000000-000000.ent";
    EXPECT_EQ(other.SnapshotFile(nowhere), nowhere.snapshotPath);
}

// A snapshot never replaces a file, and the search for a free name ends.
TEST_F(ApplyHistoryTest, SnapshotsTakeOnlyFreeNames)
{
    Write(Folder() + "/Apply261130-091500.ent", "earlier");
    ASSERT_TRUE(Record(300, &error)) << error.toStdString();
    EXPECT_EQ(history.Records()[0].snapshotPath, Folder() + "/Apply261130-091500-2.ent");
    EXPECT_EQ(Read(Folder() + "/Apply261130-091500.ent"), "earlier");

    for (int n = 3; n <= 100; ++n)
        Write(Folder() + QStringLiteral("/Apply261130-091500-%1.ent").arg(n), "taken");
    const QByteArray before = Read(HistoryFile());
    EXPECT_FALSE(Record(600, &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(Folder()))) << error.toStdString();
    EXPECT_EQ(Read(HistoryFile()), before);
    EXPECT_EQ(Files().size(), 101);
}

// A folder that cannot be reached or does not fit is an error that names it:
// never a relative path, the current folder or a name search without end.
TEST_F(ApplyHistoryTest, AFolderOutOfReachIsAnError)
{
    const QString longFolder =
        dir.path() + "/" + QString(PlatformFolders::MaxPathLength() - dir.path().size() - 30, 'a');
    struct Case {
        const char* name;
        QString defaultPath;
        QString named;
    };
    const Case cases[] = {
        {"a share not mounted", dir.filePath("share/経理"), dir.filePath("share/経理")},
        {"a relative folder", "経理", "経理"},
        {"no folder at all", "", "「」"},
        {"a folder near the path limit", longFolder, longFolder},
    };
    QTemporaryDir current;
    const QString kept = QDir::currentPath();
    QDir::setCurrent(current.path());
    for (const Case& c : cases) {
        settings.DefaultPath = c.defaultPath;
        EXPECT_FALSE(Record(300, &error)) << c.name;
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(c.named)))
            << c.name << error.toStdString();
        EXPECT_TRUE(error.contains("申請の記録と取消はできません")) << c.name;
        history.Refresh();
        EXPECT_FALSE(history.Problem().isEmpty()) << c.name;
    }
    QDir::setCurrent(kept);
    EXPECT_TRUE(QDir(current.path()).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("share")));
}

// A damaged history is used as far as it can be read, refuses every change,
// and is made whole only on request: the damaged bytes are kept aside.
TEST_F(ApplyHistoryTest, ADamagedHistoryIsRepairedOnlyOnRequest)
{
    std::vector<ApplyRecord> records = {{1, 300, Folder() + "/Apply261001-090000.ent"},
                                        {2, 600, Folder() + "/Apply261101-090000.ent"}};
    QByteArray damaged = HistoryFile::Serialize({records, {}});
    damaged.remove(damaged.size() - 3, 1); // a byte of the last path
    Write(HistoryFile(), damaged);

    EXPECT_TRUE(history.Refresh());
    EXPECT_TRUE(history.IsDamaged());
    ASSERT_EQ(history.Records().size(), 1u);
    records[0].id = "A00001"; // numbered by its place
    EXPECT_EQ(history.Records()[0], records[0]);
    EXPECT_TRUE(history.Problem().contains(QDir::toNativeSeparators(HistoryFile())))
        << history.Problem().toStdString();

    EXPECT_FALSE(Record(900, &error));
    EXPECT_EQ(error, history.Problem());
    EXPECT_FALSE(history.Cancel(0, records[0].snapshotPath, 1, "x", &error));
    EXPECT_EQ(Read(HistoryFile()), damaged);
    EXPECT_EQ(Files(), QStringList{"Apply.hst"});

    QString report;
    ASSERT_TRUE(history.Repair(&report)) << report.toStdString();
    const QString aside = Folder() + "/Apply-damaged-261130-091500.hst";
    EXPECT_TRUE(report.contains(QDir::toNativeSeparators(aside))) << report.toStdString();
    EXPECT_EQ(Read(aside), damaged);
    const HistoryFile::Reading repaired = HistoryFile::Read(Read(HistoryFile()));
    EXPECT_FALSE(repaired.damaged);
    EXPECT_EQ(repaired.contents.records, std::vector<ApplyRecord>{records[0]});
    EXPECT_FALSE(history.IsDamaged());
    EXPECT_TRUE(Record(900, &error)) << error.toStdString();

    // A whole history has nothing to repair.
    EXPECT_TRUE(history.Repair(&report));
    EXPECT_TRUE(report.contains("壊れていません")) << report.toStdString();
    EXPECT_EQ(QDir(Folder()).entryList({"Apply-damaged-*"}).size(), 1);
}

// While another program holds the history, a change waits its bounded time
// and then says so, leaving everything as it was.
TEST_F(ApplyHistoryTest, ABusyHistoryIsToldAndLeftAlone)
{
    ASSERT_TRUE(Record(300, &error));
    const QByteArray before = Read(HistoryFile());
    QLockFile other(HistoryFile() + ".lock");
    ASSERT_TRUE(other.tryLock(0));
    qputenv("FENWIR_LOCK_WAIT_MS", "0");
    EXPECT_FALSE(Record(600, &error));
    qunsetenv("FENWIR_LOCK_WAIT_MS");
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(HistoryFile()))) << error.toStdString();
    EXPECT_TRUE(error.contains("別のプログラムが書き込み中")) << error.toStdString();
    EXPECT_EQ(Read(HistoryFile()), before);
    EXPECT_EQ(Files().size(), 3); // the history, its one snapshot and the lock
}
