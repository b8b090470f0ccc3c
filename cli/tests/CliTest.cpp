#include "ArchiveWriter.h"
#include "CliFixture.h"
#include "EntryList.h"
#include "LocalTime.h"
#include "PdfText.h"
#include "ProductVersion.h"
#include "ShiftJis.h"
#include "StationFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST_F(CliTest, ImportingTheSameDumpTwiceAddsNothing)
{
    const QString dump = File("card.txt", Dump(5).toUtf8());
    const QString ent = dir.filePath("claim.ent");
    CliRun first = Cli({"import-dump", "--station-db", Db(), dump, ent});
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains("追加した明細: 5件"));
    EXPECT_TRUE(first.out.contains("東京"));
    CliRun second = Cli({"import-dump", "--json", "--station-db", Db(), dump, ent});
    ASSERT_EQ(second.status, 0);
    const QJsonObject object = QJsonDocument::fromJson(second.out.toUtf8()).object();
    EXPECT_EQ(object["lines"].toArray().size(), 0);
    EXPECT_EQ(object["balance"].toInt(), 1000);
    EXPECT_EQ(ReadDocument(ent).lines.size(), 5u);
}

// Next month's claim from the same card: what was printed and recorded is
// read unmarked and shown as applied; another card's history is refused.
TEST_F(CliTest, ClaimedTripsAndOtherCards)
{
    const QString uid = QStringLiteral("01 14 02 12 3A 4B 5C 6D");
    const QString dump = File("card.txt", Dump(uid, CardRecords(3, 1)).toUtf8());
    const QString october = dir.filePath("october.ent");
    ASSERT_EQ(Cli({"import-dump", "--station-db", Db(), dump, october}).status, 0);
    const CliRun print = Cli({"print", "--record", "--pdf", dir.filePath("o.pdf"), october});
    ASSERT_EQ(print.status, 0) << print.err.toStdString();

    const QString november = dir.filePath("november.ent");
    const CliRun read = Cli({"import-dump", "--json", "--station-db", Db(),
                             File("more.txt", Dump(uid, CardRecords(5, 1)).toUtf8()), november});
    ASSERT_EQ(read.status, 0) << read.err.toStdString();
    std::vector<std::pair<int, bool>> lines; // applyFlag, applied
    for (const auto value : QJsonDocument::fromJson(read.out.toUtf8())["lines"].toArray())
        lines.emplace_back(value.toObject()["applyFlag"].toInt(),
                           value.toObject()["applied"].toBool());
    // Oldest first: the first record (no fare), the two claimed in October,
    // two new trips.
    EXPECT_EQ(lines, (std::vector<std::pair<int, bool>>{
                         {0, false}, {0, true}, {0, true}, {1, false}, {1, false}}));
    const CliRun show = Cli({"show", "--json", november});
    EXPECT_EQ(QJsonDocument::fromJson(show.out.toUtf8())["lines"][2]["applied"].toBool(), true);
    EXPECT_EQ(QJsonDocument::fromJson(show.out.toUtf8())["lines"][3]["applied"].toBool(), false);

    const QString otherCard =
        File("other.txt", Dump("01 14 02 12 3A 4B 5C 77", {{2, 5000}, {1, 5200}}).toUtf8());
    QFile file(november);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const CliRun refused = Cli({"import-dump", "--station-db", Db(), otherCard, november});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("別のカードの履歴です（")) << refused.err.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    file.close();
    const CliRun added =
        Cli({"import-dump", "--other-card", "--station-db", Db(), otherCard, november});
    EXPECT_EQ(added.status, 0) << added.err.toStdString();
    EXPECT_EQ(ReadDocument(november).lines.size(), 7u);
}

TEST_F(CliTest, JsonCarriesEveryFieldOfTheDecodedLines)
{
    const QString dump = File("card.txt", Dump(3).toUtf8());
    CliRun run = Cli({"import-dump", "--json", "--station-db", Db(), dump, dir.filePath("c.ent")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject object = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(object["idm"].toString(), "011402123A4B5C6D");
    const QJsonArray lines = object["lines"].toArray();
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject oldest = lines[0].toObject();
    const QJsonObject middle = lines[1].toObject();
    EXPECT_EQ(oldest.size(), 34); // every field and "applied"
    EXPECT_FALSE(oldest["applied"].toBool());
    EXPECT_FALSE(oldest["visitSuggested"].toBool());
    EXPECT_EQ(oldest["fare"].toInt(), 0);
    EXPECT_EQ(middle["fare"].toInt(), 200);
    EXPECT_EQ(middle["applyFlag"].toInt(), 1);
    EXPECT_EQ(middle["balance"].toInt(), 1200);
    EXPECT_EQ(middle["terminalType"].toInt(), 0x16);
    EXPECT_EQ(middle["idm"].toString(), "011402123A4B5C6D");
    EXPECT_EQ(middle["dateTime"].toInteger(), *LocalToTimestamp(2026, 11, 2, 0, 0, 0));
    EXPECT_EQ(middle["serialNumber"].toInt(), 2);
    EXPECT_EQ(middle["entryStationName"].toString(), "新宿");
    EXPECT_EQ(middle["exitStationName"].toString(), "東京");
    EXPECT_EQ(middle["entryLongitude"].toDouble(), 139.1);
    EXPECT_EQ(middle["distance"].toInt(), 9118);
    EXPECT_DOUBLE_EQ(middle["bearing"].toDouble(), 270.0);
    EXPECT_EQ(middle["remarks"].toString(), "");

    CliRun show = Cli({"show", "--json", dir.filePath("c.ent")});
    ASSERT_EQ(show.status, 0);
    EXPECT_EQ(QJsonDocument::fromJson(show.out.toUtf8()).object()["lines"].toArray(), lines);
}

TEST_F(CliTest, CsvBytes)
{
    const QString ent = dir.filePath("c.ent");
    ASSERT_EQ(
        Cli({"import-dump", "--station-db", Db(), File("card.txt", Dump(3).toUtf8()), ent}).status,
        0);
    const QString csv = dir.filePath("out.csv");
    ASSERT_EQ(Cli({"csv", "--items", "2,5,9", "--apply-only", ent, csv}).status, 0);
    const QByteArray expected =
        QByteArray("\"\x93\xFA\x95\x74\",\"\x93\xFC\x8F\xEA\x89\x77\x96\xBC\","
                   "\"\x97\xBF\x8B\xE0/\x93\xFC\x8B\xE0\x8A\x7A\"\r\n"
                   "\"2026/11/02\",\"\x90\x56\x8F\x68\",\"200\"\r\n"
                   "\"2026/11/02\",\"\x93\x8C\x8B\x9E\",\"200\"\r\n");
    EXPECT_EQ(Bytes(csv), expected);

    // The oldest record's fare is not on the card: no amount, not 0.
    ASSERT_EQ(Cli({"csv", "--items", "9", "--no-header", ent, csv}).status, 0);
    EXPECT_EQ(Bytes(csv), QByteArray("\"\"\r\n\"200\"\r\n\"200\"\r\n"));
}

TEST_F(CliTest, CsvLayoutsAndEncodings)
{
    const QString ent = dir.filePath("c.ent");
    ASSERT_EQ(
        Cli({"import-dump", "--station-db", Db(), File("card.txt", Dump(3).toUtf8()), ent}).status,
        0);
    const QString header = "利用年月日,定期,鉄道会社名,入場駅/事業者名,定期,鉄道会社名,"
                           "出場駅/降車場所,利用額(円),残額(円),メモ\r\n";
    const QString newest = "2026/11/02,,ＪＲ東,東京,,ＪＲ東,新宿,200,1000,\r\n"
                           "2026/11/02,,ＪＲ東,新宿,,ＪＲ東,東京,200,1200,\r\n";
    const QString oldest = "2026/11/02,,ＪＲ東,東京,,ＪＲ東,新宿,,1400,\r\n";
    struct Case {
        QStringList options;
        QByteArray bytes;
    };
    const Case cases[] = {
        {{"--profile", "history"},
         EncodeShiftJis("カードID=************5C6D\r\n" + header + newest + oldest)},
        {{"--profile=history", "--show-card-id", "--apply-only", "--encoding", "cp932"},
         EncodeShiftJis("カードID=011402123A4B5C6D\r\n" + header + newest)},
        {{"--encoding", "utf-8", "--items", "5", "--no-header"},
         "\xEF\xBB\xBF" + QStringLiteral("\"東京\"\r\n\"新宿\"\r\n\"東京\"\r\n").toUtf8()},
        {{"--encoding", "CP932", "--items", "5", "--no-header", "--profile", "columns"},
         EncodeShiftJis("\"東京\"\r\n\"新宿\"\r\n\"東京\"\r\n")},
    };
    for (const Case& c : cases) {
        const QString csv = dir.filePath("out.csv");
        QFile::remove(csv);
        const CliRun run = Cli(QStringList{"csv"} + c.options + QStringList{ent, csv});
        ASSERT_EQ(run.status, 0) << c.options.join(' ').toStdString() << run.err.toStdString();
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), c.bytes) << c.options.join(' ').toStdString();
    }
}

TEST_F(CliTest, PrintRendersPagesAndRecordsTheClaim)
{
    EntryList list;
    for (int i = 0; i < 45; ++i) {
        auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'793'545'200 + 86400 * i));
        line->fare = 100;
        line->entryStationName = QStringLiteral("東京");
        list.lines.push_back(std::move(line));
    }
    ArchiveWriter out;
    list.Write(out, EntryList::Document);
    const QString ent = File("claim.ent", out.Data());
    const QString pdf = dir.filePath("claim.pdf");

    CliRun run = Cli({"print", "--pdf", pdf, ent});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString content = QString::fromLatin1(Bytes(pdf));
    EXPECT_EQ(content.count(QRegularExpression("/Type\\s*/Page[^s]")), 3);
    EXPECT_EQ(ReadDocument(ent).lines.at(0)->applyFlag, 1); // a PDF alone records nothing

    run = Cli({"print", "--record", "--pdf", pdf, ent});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("4,500円"));
    for (const auto& line : ReadDocument(ent).lines)
        EXPECT_EQ(line->applyFlag, 0);
    const QString history = Home() + "/Documents/Fenwir Lite/ApplyHistory/Apply.hst";
    EXPECT_TRUE(QFile::exists(history)) << history.toStdString();
}

TEST_F(CliTest, PrintClaimsWhatTheListWouldClaim)
{
    // Marks that a stored file carries on lines the list never lets be claimed.
    EntryList list;
    const auto add = [&](int terminal, int process, int fare, int hidden) {
        auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'793'545'200));
        line->terminalType = static_cast<std::uint8_t>(terminal);
        line->processType = static_cast<std::uint8_t>(process);
        line->fare = fare;
        line->hidden = static_cast<std::uint8_t>(hidden);
        list.lines.push_back(std::move(line));
    };
    add(0x08, 0x02, -3000, 0); // a charge
    add(0xC7, 0x46, 120, 0);   // a shop purchase
    add(0x16, 0x46, 150, 0);   // a purchase at a station's terminal
    add(0x12, 0xCB, 240, 0);   // an entry purchase, part cash, at a ticket machine
    add(0x16, 0x07, 500, 0);   // an issue
    add(0x16, 0x01, 210, 1);   // a hidden journey
    ArchiveWriter out;
    list.Write(out, EntryList::Document);
    const QString ent = File("unclaimable.ent", out.Data());
    const QByteArray before = out.Data();
    const QString pdf = dir.filePath("none.pdf");
    const QString history = Home() + "/Documents/Fenwir Lite/ApplyHistory/Apply.hst";
    const auto historyBytes = [&] {
        QFile file(history);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("none");
    };
    const QByteArray historyBefore = historyBytes();

    CliRun run = Cli({"print", "--record", "--pdf", pdf, ent});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("申請する明細がありません。")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(historyBytes(), historyBefore);
    EXPECT_EQ(Bytes(ent), before);

    add(0x16, 0x01, 180, 0); // one real journey
    ArchiveWriter again;
    list.Write(again, EntryList::Document);
    File("unclaimable.ent", again.Data());
    run = Cli({"print", "--record", "--pdf", pdf, ent});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("申請を記録しました (180円)")) << run.out.toStdString();
    run = Cli({"show", ent});
    EXPECT_TRUE(run.out.contains("申請合計: 0円")) << run.out.toStdString();
}

// --month, --from and --to keep show, csv and print to the same days.
TEST_F(CliTest, PeriodKeepsShowCsvAndPrintToItsDays)
{
    EntryList list;
    const auto add = [&](int month, int day, int hour, int fare) {
        auto line = std::make_unique<EntryInfo>(
            EntryInfo::ManualLine(*LocalToTimestamp(2026, month, day, hour, 0, 0)));
        line->fare = fare;
        line->applyFlag = 1;
        list.lines.push_back(std::move(line));
    };
    add(10, 31, 23, 100);
    add(11, 1, 0, 200);
    add(11, 30, 23, 400);
    add(12, 1, 0, 800);
    ArchiveWriter out;
    list.Write(out, EntryList::Document);
    const QString ent = File("months.ent", out.Data());

    const struct {
        QStringList period;
        const char* total;
    } shows[] = {
        {{"--month", "2026-11"}, "申請合計: 600円"},
        {{"--from", "2026-11-30"}, "申請合計: 1,200円"},
        {{"--to", "2026-10-31"}, "申請合計: 100円"},
        {{"--from", "2026-11-01", "--to", "2026-11-01"}, "申請合計: 200円"},
        {{}, "申請合計: 1,500円"},
    };
    for (const auto& show : shows) {
        const CliRun run = Cli(QStringList{"show"} + show.period + QStringList{ent});
        EXPECT_EQ(run.status, 0) << show.period.join(' ').toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(show.total)))
            << show.period.join(' ').toStdString() << run.out.toStdString();
    }
    const CliRun json = Cli({"show", "--json", "--month", "2026-11", ent});
    EXPECT_EQ(QJsonDocument::fromJson(json.out.toUtf8())["lines"].toArray().size(), 2);

    const QString csv = dir.filePath("november.csv");
    ASSERT_EQ(Cli({"csv", "--month", "2026-11", "--items", "9", "--no-header", ent, csv}).status,
              0);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\"200\"\r\n\"400\"\r\n"));

    const CliRun print =
        Cli({"print", "--record", "--month", "2026-11", "--pdf", dir.filePath("n.pdf"), ent});
    ASSERT_EQ(print.status, 0) << print.err.toStdString();
    EXPECT_TRUE(print.out.contains("申請を記録しました (600円)")) << print.out.toStdString();
    EXPECT_TRUE(Cli({"show", ent}).out.contains("申請合計: 900円")); // October and December

    for (const QStringList& bad :
         {QStringList{"--month", "2026-13"},
          QStringList{"--month", "2026-11", "--from", "2026-11-01"},
          QStringList{"--from", "2026-11-31"},
          QStringList{"--from", "2026-11-09", "--to", "2026-11-01"}, QStringList{"--to", "11/30"}})
        EXPECT_EQ(Cli(QStringList{"show"} + bad + QStringList{ent}).status, 2)
            << bad.join(' ').toStdString();
}

// A visit destination suggested from a station and never confirmed leaves
// neither as a CSV cell nor on the printed claim; the user is told.
TEST_F(CliTest, UnconfirmedSuggestionsAreLeftEmptyAndSaid)
{
    EntryList list;
    auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'790'000'000));
    line->fare = 210;
    line->applyFlag = 1;
    line->visitDestination = QStringLiteral("横浜支店");
    line->visitSuggested = true;
    list.lines.push_back(std::move(line));
    ArchiveWriter out;
    list.Write(out, EntryList::Document);
    const QString ent = File("suggested.ent", out.Data());
    const QStringList commands[] = {
        {"csv", "--items", "11", "--encoding", "utf-8", ent, dir.filePath("o.csv")},
        {"print", "--pdf", dir.filePath("o.pdf"), ent},
    };
    for (const QStringList& command : commands) {
        const CliRun run = Cli(command);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(
            run.err.contains(QStringLiteral("確定していない訪問先の候補 1 件は空欄にしました。")))
            << command.first().toStdString() << ": " << run.err.toStdString();
    }
    QFile csv(dir.filePath("o.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_FALSE(QString::fromUtf8(csv.readAll()).contains(QStringLiteral("横浜支店")));
}

// A claim whose marks of suggested destinations are damaged opens, says so,
// and claims none of its destinations as the user's.
TEST_F(CliTest, UnreadableSuggestionMarksAreSaidAndLeaveDestinationsEmpty)
{
    EntryList list;
    for (const char* visit : {"横浜支店", "本社"}) {
        auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'790'000'000));
        line->fare = 210;
        line->applyFlag = 1;
        line->visitDestination = QString::fromUtf8(visit);
        list.lines.push_back(std::move(line));
    }
    list.lines[0]->visitSuggested = true; // 本社 was typed
    ArchiveWriter out;
    list.Write(out, EntryList::Document);
    const QString ent = File("damaged.ent", out.Data().chopped(2));
    const CliRun show = Cli({"show", "--json", ent});
    ASSERT_EQ(show.status, 0) << show.err.toStdString();
    EXPECT_TRUE(show.err.contains(ent + ": 訪問先の候補の印を読み取れませんでした。"))
        << show.err.toStdString();
    for (const auto value : QJsonDocument::fromJson(show.out.toUtf8())["lines"].toArray())
        EXPECT_TRUE(value.toObject()["visitSuggested"].toBool());
    const CliRun print = Cli({"print", "--pdf", dir.filePath("o.pdf"), ent});
    EXPECT_EQ(print.status, 0) << print.err.toStdString();
    EXPECT_TRUE(print.err.contains("確定していない訪問先の候補 2 件は空欄にしました。"))
        << print.err.toStdString();
}

// The printed claim names the period it was printed for: --month, --from
// and --to as given, an open end and the whole history by the printed
// lines' days; over two years its dates carry the year.
TEST_F(CliTest, PrintedClaimNamesItsPeriod)
{
    if (!CanReadPdfText())
        GTEST_SKIP() << "the PDF is read with pdftotext, which this system has not";
    EntryList list;
    for (const auto& [year, month, day] :
         {std::array{2026, 10, 31}, {2026, 11, 1}, {2026, 11, 30}, {2027, 1, 4}}) {
        auto line = std::make_unique<EntryInfo>(
            EntryInfo::ManualLine(*LocalToTimestamp(year, month, day, 9, 0, 0)));
        line->fare = 100;
        line->applyFlag = 1;
        list.lines.push_back(std::move(line));
    }
    ArchiveWriter out;
    list.Write(out, EntryList::Document);
    const QString ent = File("period.ent", out.Data());
    const struct {
        QStringList period;
        const char* heading;
        QStringList dates;
    } cases[] = {
        {{"--month", "2026-11"}, "対象期間 2026年11月1日～2026年11月30日", {"11月1日", "11月30日"}},
        {{"--from", "2026-11-01", "--to", "2026-11-15"},
         "対象期間 2026年11月1日～2026年11月15日",
         {"11月1日"}},
        {{"--from", "2026-11-30"},
         "対象期間 2026年11月30日～2027年1月4日",
         {"2026年11月30日", "2027年1月4日"}},
        {{}, "対象期間 2026年10月31日～2027年1月4日", {"2026年10月31日", "2027年1月4日"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.period.join(' ').toStdString());
        const QString pdf = dir.filePath("period.pdf");
        const CliRun run = Cli(QStringList{"print", "--pdf", pdf} + c.period + QStringList{ent});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QString printed = PdfText(pdf);
        EXPECT_TRUE(printed.contains(QString::fromUtf8(c.heading))) << printed.toStdString();
        for (const QString& date : c.dates) // in a cell of its own
            EXPECT_TRUE(printed.contains(QRegularExpression(
                QStringLiteral("(^|\\s)%1(\\s|$)").arg(QRegularExpression::escape(date)))))
                << date.toStdString() << printed.toStdString();
    }
}

TEST_F(CliTest, ReadsThroughTheSimulatedReader)
{
    const QString card = File("card.txt", Dump(4).toUtf8());
    CliRun image = Cli({"read", "--reader", "image:" + card, "--polling-time", "0", "--station-db",
                        Db(), dir.filePath("sim.ent")});
    ASSERT_EQ(image.status, 0) << image.err.toStdString();
    EXPECT_TRUE(image.out.contains("追加した明細: 4件"));

    CliRun demo = Cli(
        {"read", "--reader", "demo", "--json", "--polling-time", "1", dir.filePath("demo.ent")});
    ASSERT_EQ(demo.status, 0) << demo.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(demo.out.toUtf8()).object()["lines"].toArray().size(), 20);
}

TEST_F(CliTest, UsageAndFileErrors)
{
    struct Case {
        QStringList args;
        int status;
        const char* message;
    };
    const QString missing = dir.filePath("missing.ent");
    const QString foreign = File("foreign.ent", "not a claim");
    const Case cases[] = {
        {{}, 2, ""},
        {{"frobnicate"}, 2, "不明なコマンドです: frobnicate"},
        {{"show"}, 2, "show の引数が正しくありません。"},
        {{"show", "--bogus", missing}, 2, "不明なオプションです: --bogus"},
        {{"print", missing}, 2, "print の引数が正しくありません。"},
        {{"csv", "--items"}, 2, "--items には値が必要です。"},
        {{"csv", "--profile", "table", missing, dir.filePath("o.csv")}, 2, "columns か history"},
        {{"csv", "--encoding", "latin1", missing, dir.filePath("o.csv")}, 2, "cp932 か utf-8"},
        {{"csv", "--profile", "history", "--encoding", "utf-8", missing, dir.filePath("o.csv")},
         2,
         "カード履歴は Shift-JIS (cp932) でのみ保存できます。"},
        {{"read", "--reader", "floppy", missing}, 2, ""},
        {{"read", "--polling-time", "soon", missing}, 2, ""},
        {{"stations", "lookup", "0", "1"}, 2, ""},
        {{"stations", "lookup", "0", "1", "300"}, 2, ""},
        {{"show", missing}, 1, "missing.ent"},
        {{"show", foreign}, 1, "予期しないファイル形式です。"},
        {{"import-dump", dir.filePath("nocard.txt"), missing}, 1, "nocard.txt"},
        {{"read", "--reader", "image:" + dir.filePath("nocard.txt"), missing}, 1, "nocard.txt"},
        {{"csv", foreign, dir.filePath("o.csv")}, 1, "予期しないファイル形式です。"},
        {{"stations", "import", dir.filePath("none.csv"), dir.filePath("o.sqlite")}, 1, "none.csv"},
    };
    for (const Case& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message)))
            << c.args.join(' ').toStdString() << " => " << run.err.toStdString();
        if (c.status == 1) {
            EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(QFile::exists(dir.filePath("o.csv")));
}

TEST_F(CliTest, VersionIsTheBuildsProductVersion)
{
    const CliRun run = Cli({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "fenwir-cli " + GetProductVersion() + "\n");
}

TEST_F(CliTest, StationListImportAndLookups)
{
    const QString csv =
        File("list.csv", QByteArray("area,line,station,company,line,name,lat,lon\n"
                                    "0,0x25,0x0C,ＪＲ東,中央線,四ツ谷,35.686,139.730\n"
                                    "0,1,0A,ＪＲ東,山手線,\"神田, 東口\",,\n"
                                    "bus,300,-7,都営,都02,大塚駅前\n"));
    const QString db = dir.filePath("built.sqlite");
    CliRun run = Cli({"stations", "import", csv, db});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("駅 2件、バス停 1件"));

    run = Cli({"stations", "lookup", "--station-db", db, "0", "37", "12"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "四ツ谷\t中央線\tＪＲ東\t35.686000\t139.730000\n");
    run = Cli({"stations", "lookup", "--station-db", db, "0", "1", "0x0a"});
    EXPECT_TRUE(run.out.startsWith("神田, 東口\t"));
    run = Cli({"stations", "bus", "--station-db", db, "300", "-7"});
    EXPECT_EQ(run.out, "大塚駅前\t都02\t都営\n");
    run = Cli({"stations", "lookup", "--station-db", db, "3", "3", "3"});
    EXPECT_TRUE(run.out.startsWith("未登録\t"));

    const QString bad = File("bad.csv", "0,1,2,a,b,c\n0,x,2,a,b,c\n");
    run = Cli({"stations", "import", bad, db});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("bad.csv:2: ")) << run.err.toStdString();
    run = Cli({"stations", "lookup", "--station-db", db, "0", "37", "12"});
    EXPECT_TRUE(run.out.startsWith("四ツ谷")); // the earlier database is still there

    // A hex list: "25" and "10" are hex too, because their columns hold hex letters.
    const QString hexList = File("hex.csv", QByteArray("0,25,0C,ＪＲ東,中央線,四ツ谷\n"
                                                       "0,0A,10,ＪＲ東,山手線,神田\n"
                                                       "bus,1F,10,都営,都02,大塚駅前\n"));
    ASSERT_EQ(Cli({"stations", "import", hexList, db}).status, 0);
    run = Cli({"stations", "--station-db", db, "lookup", "0", "37", "12"});
    EXPECT_TRUE(run.out.startsWith("四ツ谷")) << run.out.toStdString() << run.err.toStdString();
    run = Cli({"stations", "lookup", "0", "10", "16", "--station-db", db});
    EXPECT_TRUE(run.out.startsWith("神田")) << run.out.toStdString();
    run = Cli({"--station-db", db, "stations", "bus", "31", "10"}); // the stop column is decimal
    EXPECT_EQ(run.out, "大塚駅前\t都02\t都営\n") << run.err.toStdString();
}
