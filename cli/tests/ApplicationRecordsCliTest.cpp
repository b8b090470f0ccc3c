// What an accounting department asks of the application history through
// the command line: numbers, fingerprints, reasons, search, archive, checks.
#include "ApplicationArchive.h"
#include "ApplyHistory.h"
#include "CliFixture.h"
#include "HistoryFile.h"
#include "PdfText.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{
const QString kReason = QStringLiteral("𠮷田さんの\"重複\", 再申請\n確認済み");
} // namespace

class ApplicationRecordsCliTest : public CliTest
{
protected:
    QJsonObject List(const QStringList& search = {})
    {
        const CliRun run = Cli(QStringList{"applications", "--json"} + search);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out.toUtf8()).object();
    }
    QString Record(const QString& name, const QByteArray& claim)
    {
        const QString ent = File(name, claim);
        const CliRun run = Cli({"print", "--record", "--pdf", dir.filePath(name + ".pdf"), ent});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return dir.filePath(name + ".pdf");
    }
    QMap<QString, QByteArray> Files(const QString& folder)
    {
        QMap<QString, QByteArray> files;
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            files[name] = Bytes(QDir(folder).filePath(name));
        return files;
    }
};

// Record, cancel with a reason, search, export, verify; then a snapshot
// changed by hand and one deleted are found.
TEST_F(ApplicationRecordsCliTest, AnApplicationFromRecordToArchive)
{
    const QString octoberPdf = Record("october", Claim({2, 5}, QStringLiteral("横浜支店")));
    Record("november", Claim({9, 12, 20}, QStringLiteral("本社")));
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    const QString stamp = QDate::currentDate().toString("yyyyMMdd");

    QJsonArray listed = List()["applications"].toArray();
    ASSERT_EQ(listed.size(), 2);
    const QJsonObject newest = listed[0].toObject();
    EXPECT_EQ(newest["id"].toString(), "A00002");
    EXPECT_EQ(listed[1].toObject()["id"].toString(), "A00001");
    EXPECT_FALSE(newest["user"].toString().isEmpty());
    EXPECT_FALSE(newest["host"].toString().isEmpty());
    EXPECT_EQ(newest["sha256"].toString().size(), 64);
    EXPECT_TRUE(newest["cancelReason"].isNull());
    // The paper carries the number it was recorded under.
    if (CanReadPdfText()) {
        EXPECT_TRUE(PdfText(octoberPdf).contains("申請番号 A00001"))
            << PdfText(octoberPdf).toStdString();
        // A PDF that records nothing is no application: no number.
        const QString plain = dir.filePath("plain.pdf");
        ASSERT_EQ(Cli({"print", "--pdf", plain, dir.filePath("october")}).status, 0);
        EXPECT_FALSE(PdfText(plain).contains("申請番号")) << PdfText(plain).toStdString();
    }

    struct Refusal {
        QStringList args;
        int status;
        const char* says;
    };
    const Refusal refusals[] = {
        {{"applications", "--cancel", "A00001"}, 1, "--reason"},
        {{"applications", "--cancel", "A00001", "--reason", QString(101, 'x')}, 1, "100 文字まで"},
        {{"applications", "--cancel", "A00009", "--reason", "x"}, 1, "申請 A00009 はありません"},
        {{"applications", "--reason", "x"}, 2, "applications"},
        {{"applications", "--verify", "--text", "x"}, 2, "applications"},
        {{"applications", "--min", "many"}, 2, "applications"},
    };
    for (const Refusal& r : refusals) {
        const CliRun run = Cli(r.args);
        EXPECT_EQ(run.status, r.status) << r.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(r.says)) << run.err.toStdString();
    }

    const CliRun cancel = Cli({"applications", "--cancel", "A00001", "--reason", kReason});
    ASSERT_EQ(cancel.status, 0) << cancel.err.toStdString();
    listed = List()["applications"].toArray();
    EXPECT_EQ(listed[1].toObject()["cancelReason"].toString(), kReason);
    EXPECT_EQ(listed[1].toObject()["cancelled"].toString(), today);

    struct Search {
        QStringList args;
        QStringList ids;
        int total;
    };
    const Search searches[] = {
        {{}, {"A00002", "A00001"}, 900}, // the cancelled one counts nothing
        {{"--text", "横浜"}, {"A00001"}, 0},
        {{"--text", "大崎", "--min", "700"}, {"A00002"}, 900},
        {{"--max", "600", "--from", today, "--to", today}, {"A00001"}, 0},
        {{"--from", "2020-01-01", "--to", "2020-12-31"}, {}, 0},
        {{"--text", kReason}, {}, 0},
    };
    for (const Search& s : searches) {
        const QJsonObject found = List(s.args);
        QStringList ids;
        for (const QJsonValue& a : found["applications"].toArray())
            ids << a.toObject()["id"].toString();
        EXPECT_EQ(ids, s.ids) << s.args.join(' ').toStdString();
        EXPECT_EQ(found["total"].toInt(), s.total) << s.args.join(' ').toStdString();
    }
    const CliRun table = Cli({"applications", "--text", "横浜"});
    EXPECT_TRUE(table.out.contains("該当 1件　合計 0円（取消 1件を除く）"))
        << table.out.toStdString();

    // The archive: a PDF per application and the index, the same bytes twice.
    const QString first = dir.filePath("archive1");
    const QString second = dir.filePath("new/archive2"); // made by the export
    QDir().mkpath(first);
    ASSERT_EQ(Cli({"applications", "--export", first}).status, 0);
    const CliRun exported = Cli({"applications", "--export", second, "--from", today});
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    const auto files = Files(first);
    EXPECT_EQ(files.keys(), (QStringList{stamp + "_交通費精算_600円_A00001_取消.pdf",
                                         stamp + "_交通費精算_900円_A00002.pdf", "申請一覧.csv"}));
    EXPECT_EQ(Files(second), files);
    const QString index = QString::fromUtf8(files["申請一覧.csv"]);
    EXPECT_TRUE(files["申請一覧.csv"].startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(index.contains("\uFEFF番号,印刷日時,利用期間,金額,明細数,状態,取消日時,取消理由,"
                               "利用者,コンピューター,SHA-256\r\n"));
    EXPECT_TRUE(index.contains("\"𠮷田さんの\"\"重複\"\", 再申請\n確認済み\""))
        << index.toStdString();
    EXPECT_TRUE(index.contains(",600,2,\"取消\",")) << index.toStdString();
    EXPECT_TRUE(index.contains(newest["sha256"].toString()));
    if (CanReadPdfText()) {
        const QString text = PdfText(first + "/" + stamp + "_交通費精算_900円_A00002.pdf");
        for (const char* shown : {"申請番号 A00002", "本社", "900"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << text.toStdString();
    }
    // Nothing already there is written over: the same bytes stay as they are.
    const CliRun again = Cli({"applications", "--export", first});
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(again.out.contains("新しいファイル 0、同じ内容で既にあったファイル 3"))
        << again.out.toStdString();
    // A folder that cannot be made is a failure, not a count of files written.
    File("blocked", "a file, not a folder");
    const CliRun blocked = Cli({"applications", "--export", dir.filePath("blocked/archive")});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_FALSE(blocked.out.contains("書き出しました")) << blocked.out.toStdString();
    const QString pdf = first + "/" + stamp + "_交通費精算_900円_A00002.pdf";
    File("archive1/" + stamp + "_交通費精算_900円_A00002.pdf", "edited");
    const CliRun other = Cli({"applications", "--export", first});
    EXPECT_EQ(other.status, 0);
    EXPECT_EQ(Bytes(pdf), "edited");
    EXPECT_TRUE(QFile::exists(first + "/" + stamp + "_交通費精算_900円_A00002-2.pdf"));
    EXPECT_TRUE(other.err.contains("-2.pdf")) << other.err.toStdString();

    const CliRun verified = Cli({"applications", "--verify"});
    EXPECT_EQ(verified.status, 0) << verified.err.toStdString();
    EXPECT_TRUE(verified.out.contains("記録と違うものはありません")) << verified.out.toStdString();

    // A snapshot changed by hand, another deleted: both are said, and fail.
    QStringList snapshots =
        QDir(HistoryFolder()).entryList({"Apply*.ent"}, QDir::Files, QDir::Name);
    ASSERT_EQ(snapshots.size(), 2);
    QFile changed(HistoryFolder() + "/" + snapshots[1]);
    ASSERT_TRUE(changed.open(QIODevice::Append));
    changed.write("x");
    changed.close();
    ASSERT_TRUE(QFile::remove(HistoryFolder() + "/" + snapshots[0]));
    const CliRun failed = Cli({"applications", "--verify"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(failed.out.contains("SHA-256 が違います")) << failed.out.toStdString();
    EXPECT_TRUE(failed.out.contains("がありません")) << failed.out.toStdString();
    EXPECT_TRUE(failed.err.contains("申請 2 件が記録と一致しません")) << failed.err.toStdString();
}

// A history an earlier version wrote holds no fingerprints: its records are
// numbered by their place and listed as "記録なし", not as failures; a
// snapshot whose recorded folder is gone is found beside the history.
TEST_F(ApplicationRecordsCliTest, AnEarlierVersionsHistoryIsNumberedAndNotRecorded)
{
    QDir().mkpath(HistoryFolder());
    File("home/Documents/Fenwir Lite/ApplyHistory/Apply261001-090000.ent", Claim({2, 5}));
    File("home/Documents/Fenwir Lite/ApplyHistory/Apply261101-090000.ent", Claim({9}));
    const std::vector<ApplyRecord> earlier = {
        {1'790'000'000, 600, "/old/Documents/Fenwir Lite/ApplyHistory/Apply261001-090000.ent"},
        {1'790'100'000, 300, HistoryFolder() + "/Apply261101-090000.ent"}};
    File("home/Documents/Fenwir Lite/ApplyHistory/Apply.hst",
         HistoryFile::Serialize({earlier, {}}));

    const QJsonArray listed = List()["applications"].toArray();
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0].toObject()["id"].toString(), "A00002");
    EXPECT_EQ(listed[1].toObject()["id"].toString(), "A00001");
    EXPECT_EQ(listed[1].toObject()["lines"].toInt(), 2); // found beside the history
    EXPECT_TRUE(listed[1].toObject()["sha256"].isNull());
    EXPECT_EQ(listed[1].toObject()["verified"].toString(), "記録なし");

    const CliRun verified = Cli({"applications", "--verify"});
    EXPECT_EQ(verified.status, 0) << verified.out.toStdString() << verified.err.toStdString();
    EXPECT_EQ(verified.out.count("記録なし"), 2) << verified.out.toStdString();

    // The numbers stay once the history is written again.
    ASSERT_EQ(Cli({"applications", "--cancel", "A00001", "--reason", "重複"}).status, 0);
    Record("december", Claim({20}));
    const QJsonArray after = List()["applications"].toArray();
    ASSERT_EQ(after.size(), 3);
    EXPECT_EQ(after[0].toObject()["id"].toString(), "A00003");
    EXPECT_EQ(after[2].toObject()["id"].toString(), "A00001");
    EXPECT_EQ(after[2].toObject()["cancelReason"].toString(), "重複");
}
