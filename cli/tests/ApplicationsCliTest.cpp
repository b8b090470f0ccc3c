// The application history through the command line: what a print records,
// and what it must refuse to record.
#include "ChildProcess.h"
#include "CliFixture.h"
#include "HistoryFile.h"
#include "PlatformFolders.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace
{
QStringList Snapshots(const QString& folder)
{
    return QDir(folder).entryList({"Apply*.ent"}, QDir::Files);
}
} // namespace

// A history that cannot be written (the disk is full) records nothing: the
// print says so, the claim keeps its marks and no snapshot stays behind.
TEST_F(CliTest, PrintWhoseRecordCannotBeWrittenIsNotRecorded)
{
    if (!CanLimitFileSize())
        GTEST_SKIP() << "no full disk can be had for one process here";
    // Earlier records enough that the history outgrows what the disk holds,
    // while the PDF and a snapshot of one line still fit.
    std::vector<ApplyRecord> earlier;
    for (int i = 0; i < 4000; ++i)
        earlier.push_back({1'790'000'000 + i, 300,
                           HistoryFolder() + QStringLiteral("/Apply%1.ent").arg(i).repeated(3)});
    QDir().mkpath(HistoryFolder());
    const QString history = HistoryFolder() + "/Apply.hst";
    const QByteArray historyBefore = HistoryFile::Serialize({earlier, {}});
    ASSERT_GT(historyBefore.size(), 900'000);
    File("home/Documents/Fenwir Lite/ApplyHistory/Apply.hst", historyBefore);
    const QByteArray claim = Claim({2});
    const QString ent = File("claim.ent", claim);

    const CliRun run =
        Cli({"print", "--record", "--pdf", dir.filePath("c.pdf"), ent}, QString(), 800'000);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("申請として記録できませんでした")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QDir::toNativeSeparators(history))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("もう一度印刷してください")) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains("申請を記録しました"));
    EXPECT_EQ(Bytes(history), historyBefore);
    EXPECT_EQ(Bytes(ent), claim);
    EXPECT_TRUE(Snapshots(HistoryFolder()).isEmpty())
        << Snapshots(HistoryFolder()).join(' ').toStdString();

    // With room again, the same claim is recorded.
    const CliRun again = Cli({"print", "--record", "--pdf", dir.filePath("c.pdf"), ent});
    ASSERT_EQ(again.status, 0) << again.err.toStdString();
    EXPECT_EQ(Snapshots(HistoryFolder()).size(), 1);
}

// A copy of a printed claim is not a new claim: its print records nothing
// unless --reclaim says so.
TEST_F(CliTest, ACopyOfAPrintedClaimIsNotClaimedAgainUnasked)
{
    const QString ent = File("claim.ent", Claim({2, 3, 4}));
    const QByteArray copied = Claim({2, 3, 4});
    const QString backup = File("backup.ent", copied);
    ASSERT_EQ(Cli({"print", "--record", "--pdf", dir.filePath("c.pdf"), ent}).status, 0);
    const QString history = HistoryFolder() + "/Apply.hst";
    const QByteArray recorded = Bytes(history);

    const QString pdf = dir.filePath("backup.pdf");
    const CliRun refused = Cli({"print", "--record", "--pdf", pdf, backup});
    EXPECT_EQ(refused.status, 1);
    const QString today = QDate::currentDate().toString("yyyy/MM/dd");
    EXPECT_TRUE(refused.err.contains("申請済みの明細が 3 件含まれています（" + today + " に申請）"))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("--reclaim"));
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(Bytes(history), recorded);
    EXPECT_EQ(Bytes(backup), copied);
    EXPECT_EQ(Snapshots(HistoryFolder()).size(), 1);

    const CliRun reclaimed = Cli({"print", "--record", "--reclaim", "--pdf", pdf, backup});
    ASSERT_EQ(reclaimed.status, 0) << reclaimed.err.toStdString();
    EXPECT_TRUE(reclaimed.out.contains("申請を記録しました (900円)"));
    EXPECT_EQ(Snapshots(HistoryFolder()).size(), 2);
}

// Applications are listed newest first with their period; one taken back
// stays listed, marked with the day, and its trips may be claimed again.
TEST_F(CliTest, ApplicationsAreListedAndCancelled)
{
    const QString october = File("october.ent", Claim({2, 5}));
    ASSERT_EQ(Cli({"print", "--record", "--pdf", dir.filePath("o.pdf"), october}).status, 0);
    const QString november = File("november.ent", Claim({9, 12, 20}));
    ASSERT_EQ(Cli({"print", "--record", "--pdf", dir.filePath("n.pdf"), november}).status, 0);

    const auto applications = [&] {
        const CliRun run = Cli({"applications", "--json"});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out.toUtf8())["applications"].toArray();
    };
    QJsonArray listed = applications();
    ASSERT_EQ(listed.size(), 2);
    const QJsonObject newest = listed[0].toObject();
    EXPECT_EQ(newest["number"].toInt(), 1);
    EXPECT_EQ(newest["amount"].toInt(), 900);
    EXPECT_EQ(newest["lines"].toInt(), 3);
    EXPECT_EQ(newest["from"].toString(), "2026-11-09");
    EXPECT_EQ(newest["to"].toString(), "2026-11-20");
    EXPECT_TRUE(newest["cancelled"].isNull());
    EXPECT_EQ(QDateTime::fromString(newest["printed"].toString(), Qt::ISODate).date(),
              QDate::currentDate());
    EXPECT_EQ(listed[1].toObject()["amount"].toInt(), 600);

    const CliRun cancel = Cli({"applications", "--cancel", "1", "--reason", "重複"});
    ASSERT_EQ(cancel.status, 0) << cancel.err.toStdString();
    EXPECT_TRUE(cancel.out.contains("申請を取り消しました")) << cancel.out.toStdString();
    listed = applications();
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0].toObject()["cancelled"].toString(),
              QDate::currentDate().toString(Qt::ISODate));
    EXPECT_EQ(Snapshots(HistoryFolder()).size(), 2); // the record keeps its snapshot

    // Its trips are no longer claimed: a copy prints and records without --reclaim.
    const QString copy = File("copy.ent", Claim({9, 12, 20}));
    const CliRun again = Cli({"print", "--record", "--pdf", dir.filePath("c.pdf"), copy});
    EXPECT_EQ(again.status, 0) << again.err.toStdString();

    const CliRun table = Cli({"applications"});
    EXPECT_TRUE(table.out.contains("2026/11/09～2026/11/20")) << table.out.toStdString();
    EXPECT_TRUE(table.out.contains(QDate::currentDate().toString("yyyy/MM/dd")));

    struct Refusal {
        QStringList args;
        int status;
        const char* says;
    };
    const Refusal refusals[] = {
        {{"applications", "--cancel", "2", "--reason", "重複"}, 1, "すでに取り消されています"},
        {{"applications", "--cancel", "4", "--reason", "重複"}, 1, "申請 4 はありません"},
        {{"applications", "--cancel", "x", "--reason", "重複"}, 1, "申請 x はありません"},
        {{"applications", "--cancel", "1", "--json"}, 2, "applications"},
    };
    for (const Refusal& r : refusals) {
        const CliRun run = Cli(r.args);
        EXPECT_EQ(run.status, r.status) << r.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(r.says)) << run.err.toStdString();
    }
}

// A history cut by one byte (a disk, a sync tool) is never bypassed: what
// can be read is listed and still counts, nothing is recorded or taken back
// until the user repairs it, and the repair keeps the damaged file's bytes.
TEST_F(CliTest, ADamagedHistoryIsUsedAndRepairedOnRequest)
{
    ASSERT_EQ(
        Cli({"print", "--record", "--pdf", dir.filePath("o.pdf"), File("october.ent", Claim({2}))})
            .status,
        0);
    const QString november = File("november.ent", Claim({9, 12}));
    ASSERT_EQ(Cli({"print", "--record", "--pdf", dir.filePath("n.pdf"), november}).status, 0);
    const QString history = HistoryFolder() + "/Apply.hst";
    QByteArray damaged = Bytes(history);
    damaged.remove(80, 1); // inside the first record's path
    File("home/Documents/Fenwir Lite/ApplyHistory/Apply.hst", damaged);

    const CliRun listed = Cli({"applications"});
    EXPECT_EQ(listed.status, 1);
    EXPECT_TRUE(listed.err.contains("壊れています")) << listed.err.toStdString();
    EXPECT_TRUE(listed.err.contains(QDir::toNativeSeparators(history))) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains("600円")) << listed.out.toStdString();

    // The trips it still holds stay claimed, and nothing new is recorded.
    const QByteArray claim = Claim({9, 12});
    EXPECT_EQ(
        Cli({"print", "--record", "--pdf", dir.filePath("c.pdf"), File("copy.ent", claim)}).status,
        1);
    const QByteArray december = Claim({20});
    const QString later = File("december.ent", december);
    const CliRun refused = Cli({"print", "--record", "--pdf", dir.filePath("d.pdf"), later});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("--repair")) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("d.pdf")));
    EXPECT_EQ(Bytes(later), december);
    EXPECT_EQ(Cli({"applications", "--cancel", "1", "--reason", "重複"}).status, 1);
    EXPECT_EQ(Bytes(history), damaged);
    EXPECT_EQ(Snapshots(HistoryFolder()).size(), 2);

    const CliRun repaired = Cli({"applications", "--repair"});
    ASSERT_EQ(repaired.status, 0) << repaired.err.toStdString();
    const QStringList aside = QDir(HistoryFolder()).entryList({"Apply-damaged-*.hst"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(repaired.out.contains(QDir::toNativeSeparators(HistoryFolder() + "/" + aside[0])))
        << repaired.out.toStdString();
    EXPECT_EQ(Bytes(HistoryFolder() + "/" + aside[0]), damaged);

    const CliRun whole = Cli({"applications", "--json"});
    EXPECT_EQ(whole.status, 0) << whole.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(whole.out.toUtf8())["applications"].toArray().size(), 1);
    EXPECT_EQ(Cli({"print", "--record", "--pdf", dir.filePath("d.pdf"), later}).status, 0);
}

// A history folder that cannot be reached (a share not mounted, a folder
// mistyped) or that does not fit the path limit: the print refuses before
// any paper, names the folder, records nothing, and never puts the history
// in whatever folder is current.
TEST_F(CliTest, AHistoryFolderOutOfReachRecordsNothing)
{
    // About as long as the platform allows: the history's own files no longer fit.
    QString nearLimit = dir.filePath("long");
    while (nearLimit.size() < PlatformFolders::MaxPathLength() - 35)
        nearLimit += "/" + QString(std::min<qsizetype>(200, PlatformFolders::MaxPathLength() - 36 -
                                                                nearLimit.size()),
                                   'a');
    ASSERT_TRUE(QDir().mkpath(nearLimit));
    struct Case {
        const char* name;
        QString defaultPath;
        const char* says;
    };
    const Case cases[] = {
        {"a share not mounted", dir.filePath("share/経理"), "見つかりません"},
        {"a relative folder", "経理", "絶対パスではありません"},
        {"a folder near the path limit", nearLimit, "パスが長すぎます"},
    };
    const QByteArray claim = Claim({9, 12});
    const QString ent = File("claim.ent", claim);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChildProcess::SetSetting(Home(), "DefaultPath", c.defaultPath);
        QTemporaryDir current;
        const auto process =
            Start({"print", "--record", "--pdf", dir.filePath("c.pdf"), ent}, {}, current.path());
        const CliRun run = Finish(*process);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QDir::toNativeSeparators(c.defaultPath)))
            << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("c.pdf")));
        EXPECT_EQ(Bytes(ent), claim);
        EXPECT_TRUE(QDir(current.path()).isEmpty());
        EXPECT_TRUE(QDir(nearLimit).isEmpty());
    }
}
