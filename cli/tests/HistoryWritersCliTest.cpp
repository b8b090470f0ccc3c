// Two programs change the application history at once. Every change is one
// exclusive step, so nothing either of them records is lost. A test seam
// holds a writer between reading the history and publishing it, so each
// race here is certain, not lucky.
#include "CliFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace
{
QProcessEnvironment Hold(const QString& prefix)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("FENWIR_TEST_HOLD"), prefix);
    return environment;
}

void Touch(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

class HistoryWritersTest : public CliTest
{
protected:
    QStringList PrintArgs(const QString& claim) const
    {
        return {"print", "--record", "--pdf", dir.filePath(claim + ".pdf"), dir.filePath(claim)};
    }
    // The applications listed, newest first: amount, lines, taken back.
    std::vector<std::tuple<int, int, bool>> Applications()
    {
        const CliRun run = Cli({"applications", "--json"});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        std::vector<std::tuple<int, int, bool>> listed;
        for (const QJsonValue& value :
             QJsonDocument::fromJson(run.out.toUtf8())["applications"].toArray())
            listed.emplace_back(value["amount"].toInt(), value["lines"].toInt(),
                                !value["cancelled"].isNull());
        std::sort(listed.begin(), listed.end());
        return listed;
    }
};
} // namespace

// A second print, or a cancellation, while a print is being recorded: the
// second writer waits for the first and then changes the history as the
// first left it.
TEST_F(HistoryWritersTest, TwoWritersAtOnceLoseNothing)
{
    struct Case {
        const char* name;
        QStringList first;
        QStringList second;
        std::vector<std::tuple<int, int, bool>> after; // amount, lines, taken back
    };
    const Case cases[] = {
        {"two prints",
         PrintArgs("november.ent"),
         PrintArgs("december.ent"),
         {{300, 1, false}, {600, 2, false}, {900, 3, false}}},
        {"a cancellation while a print is recorded",
         PrintArgs("november.ent"),
         {"applications", "--cancel", "1", "--reason", "重複"},
         {{300, 1, true}, {600, 2, false}}},
        {"a print while a cancellation is recorded",
         {"applications", "--cancel", "1", "--reason", "重複"},
         PrintArgs("december.ent"),
         {{300, 1, true}, {900, 3, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case from scratch: a print saves its claim without its marks.
        QDir(HistoryFolder()).removeRecursively();
        File("october.ent", Claim({2}));
        File("november.ent", Claim({9, 12}));
        File("december.ent", Claim({20, 21, 22}));
        ASSERT_EQ(Cli(PrintArgs("october.ent")).status, 0);
        const QString tag = QString::number(&c - cases);
        const QString first = dir.filePath("first" + tag);
        const QString second = dir.filePath("second" + tag);

        const auto firstRun = Start(c.first, Hold(first));
        ASSERT_TRUE(WaitForFile(first + ".held")) << Finish(*firstRun).err.toStdString();
        const auto secondRun = Start(c.second, Hold(second));
        // It waits for the lock; without one it would read what the first
        // is about to replace.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return QFile::exists(second + ".waiting") || QFile::exists(second + ".held"); },
            30000));
        EXPECT_TRUE(QFile::exists(second + ".waiting"));
        Touch(first + ".go");
        const CliRun firstDone = Finish(*firstRun);
        EXPECT_EQ(firstDone.status, 0) << firstDone.err.toStdString();
        ASSERT_TRUE(WaitForFile(second + ".held"));
        Touch(second + ".go");
        const CliRun secondDone = Finish(*secondRun);
        EXPECT_EQ(secondDone.status, 0) << secondDone.err.toStdString();
        // Every record names its own claim's snapshot: 300 yen a line.
        EXPECT_EQ(Applications(), c.after);
    }
}

// A history another program holds for longer than the wait: the print says
// the history is busy, records nothing and keeps the claim's marks.
TEST_F(HistoryWritersTest, ABusyHistoryRecordsNothing)
{
    File("november.ent", Claim({9, 12}));
    const QByteArray december = Claim({20, 21, 22});
    File("december.ent", december);
    const QString first = dir.filePath("first");
    const auto firstRun = Start(PrintArgs("november.ent"), Hold(first));
    ASSERT_TRUE(WaitForFile(first + ".held")) << Finish(*firstRun).err.toStdString();
    const QStringList snapshots = QDir(HistoryFolder()).entryList({"Apply*.ent"});

    QProcessEnvironment noWait;
    noWait.insert(QStringLiteral("FENWIR_LOCK_WAIT_MS"), QStringLiteral("0"));
    const auto busyRun = Start(PrintArgs("december.ent"), noWait);
    const CliRun busy = Finish(*busyRun);
    EXPECT_EQ(busy.status, 1);
    EXPECT_TRUE(busy.err.contains("別のプログラムが書き込み中")) << busy.err.toStdString();
    EXPECT_TRUE(busy.err.contains(QDir::toNativeSeparators(HistoryFolder() + "/Apply.hst")))
        << busy.err.toStdString();
    EXPECT_FALSE(busy.out.contains("申請を記録しました"));
    EXPECT_EQ(Bytes(dir.filePath("december.ent")), december);
    EXPECT_EQ(QDir(HistoryFolder()).entryList({"Apply*.ent"}), snapshots);

    Touch(first + ".go");
    EXPECT_EQ(Finish(*firstRun).status, 0);
    EXPECT_EQ(Applications(), (std::vector<std::tuple<int, int, bool>>{{600, 2, false}}));
}

// A writer that died holding the lock leaves it behind; the next one takes
// it over instead of waiting for ever.
TEST_F(HistoryWritersTest, ALockLeftByADeadWriterIsTakenOver)
{
    File("november.ent", Claim({9, 12}));
    File("december.ent", Claim({20, 21, 22}));
    const QString first = dir.filePath("first");
    const auto firstRun = Start(PrintArgs("november.ent"), Hold(first));
    ASSERT_TRUE(WaitForFile(first + ".held")) << Finish(*firstRun).err.toStdString();
    firstRun->kill();
    firstRun->waitForFinished();
    ASSERT_TRUE(QFile::exists(HistoryFolder() + "/Apply.hst.lock"));

    const CliRun next = Cli(PrintArgs("december.ent"));
    EXPECT_EQ(next.status, 0) << next.err.toStdString();
    EXPECT_EQ(Applications(), (std::vector<std::tuple<int, int, bool>>{{900, 3, false}}));
}
