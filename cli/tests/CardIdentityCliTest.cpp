// One card, whatever ID it gives: reads through the command line of a
// phone's card under a new ID, of a card's older and newer records, and of
// another card.
#include "CliFixture.h"
#include "ShiftJis.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{
const QString kCard = QStringLiteral("01 14 02 12 3A 4B 39 06");
const QString kSameCardLater = QStringLiteral("01 2E 44 71 08 9C 10 22");

QJsonArray Lines(const CliRun& run)
{
    return QJsonDocument::fromJson(run.out.toUtf8())["lines"].toArray();
}
} // namespace

// A phone's card read again under a new ID: its records in common with the
// claim make it the claim's card; nothing is added twice, and a trip claimed
// under the old ID is claimed under the new one too.
TEST_F(CliTest, APhonesCardUnderANewIdIsTheSameCard)
{
    const QString ent = dir.filePath("october.ent");
    ASSERT_EQ(Cli({"import-dump", "--station-db", Db(),
                   File("first.txt", Dump(kCard, CardRecords(5, 1)).toUtf8()), ent})
                  .status,
              0);
    ASSERT_EQ(Cli({"print", "--record", "--pdf", dir.filePath("o.pdf"), ent}).status, 0);

    const QString later = File("later.txt", Dump(kSameCardLater, CardRecords(8, 4)).toUtf8());
    const CliRun read = Cli({"import-dump", "--json", "--station-db", Db(), later, ent});
    ASSERT_EQ(read.status, 0) << read.err.toStdString();
    const QJsonArray added = Lines(read);
    ASSERT_EQ(added.size(), 3); // records 6, 7 and 8
    EXPECT_EQ(added[0]["serialNumber"].toInt(), 6);
    EXPECT_EQ(added[0]["fare"].toInt(), 200);
    EXPECT_EQ(ReadDocument(ent).lines.size(), 8u);
    // The claim keeps both IDs as one card's.
    EXPECT_TRUE(ReadDocument(ent).cardIds.SameCard("011402123A4B3906", "012E4471089C1022"));

    // Next month's claim from the phone: the trips claimed before are known.
    const CliRun november =
        Cli({"import-dump", "--json", "--station-db", Db(), later, dir.filePath("november.ent")});
    ASSERT_EQ(november.status, 0) << november.err.toStdString();
    std::vector<std::pair<int, bool>> lines; // serial, applied
    for (const auto value : Lines(november))
        lines.emplace_back(value.toObject()["serialNumber"].toInt(),
                           value.toObject()["applied"].toBool());
    // Record 4 is the read's oldest: its fare is not on the card, yet it is
    // the trip claimed before.
    EXPECT_EQ(lines, (std::vector<std::pair<int, bool>>{
                         {4, true}, {5, true}, {6, false}, {7, false}, {8, false}}));
}

// A read of a card's newer records after its older ones: the oldest new
// record takes its fare from the record before it that the claim holds, as
// one read of the whole history would give it, and may be claimed.
TEST_F(CliTest, TheOldestRecordOfAReadTakesItsFareFromTheClaim)
{
    const QString ent = dir.filePath("claim.ent");
    ASSERT_EQ(Cli({"import-dump", "--station-db", Db(),
                   File("older.txt", Dump(kCard, CardRecords(20, 1)).toUtf8()), ent})
                  .status,
              0);
    const CliRun newer = Cli({"import-dump", "--json", "--station-db", Db(),
                              File("newer.txt", Dump(kCard, CardRecords(40, 21)).toUtf8()), ent});
    ASSERT_EQ(newer.status, 0) << newer.err.toStdString();
    const QJsonArray added = Lines(newer);
    ASSERT_EQ(added.size(), 20);
    EXPECT_EQ(added[0]["serialNumber"].toInt(), 21);
    EXPECT_EQ(added[0]["fare"].toInt(), 200);
    EXPECT_EQ(added[0]["applyFlag"].toInt(), 1);

    // A gap in the records leaves the fare unknown, never guessed: a trip
    // through the gates takes two sequence numbers.
    const CliRun gap = Cli({"import-dump", "--json", "--station-db", Db(),
                            File("gap.txt", Dump(kCard, CardRecords(45, 42)).toUtf8()), ent});
    ASSERT_EQ(gap.status, 0) << gap.err.toStdString();
    EXPECT_TRUE(Lines(gap)[0].toObject()["fare"].isNull());
    EXPECT_EQ(Lines(gap)[0].toObject()["applyFlag"].toInt(), 0);
    const CliRun table = Cli({"show", ent});
    ASSERT_EQ(table.status, 0);
    EXPECT_TRUE(table.out.contains("不明")) << table.out.toStdString();
}

// The oldest record of a first read has no fare on the card; a read of the
// card's older records gives it, once the record just before it is there.
TEST_F(CliTest, AnOlderReadGivesTheFareTheClaimLacked)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> newer; // (sequence, balance), newest first
        std::vector<std::pair<int, int>> older;
        int seam; // the newer read's oldest record
        QJsonValue fare;
    };
    const Case cases[] = {
        {"the record before", CardRecords(40, 21), CardRecords(20, 1), 21, 200},
        {"a gap before it", CardRecords(40, 21), CardRecords(19, 1), 21, QJsonValue()},
        {"across the counter's wrap",
         {{2, 4400}, {1, 4600}, {0, 4800}},
         {{0xFFFF, 5000}, {0xFFFE, 5200}},
         0,
         200},
    };
    for (const Case& c : cases) {
        for (const bool newerFirst : {true, false}) {
            const QString ent =
                dir.filePath(QStringLiteral("%1-%2.ent").arg(c.seam).arg(newerFirst));
            QFile::remove(ent);
            const QString newer = File("newer.txt", Dump(kCard, c.newer).toUtf8());
            const QString older = File("older.txt", Dump(kCard, c.older).toUtf8());
            for (const QString& image :
                 newerFirst ? QStringList{newer, older} : QStringList{older, newer})
                ASSERT_EQ(Cli({"import-dump", "--station-db", Db(), image, ent}).status, 0)
                    << c.what;
            const CliRun show = Cli({"show", "--json", ent});
            ASSERT_EQ(show.status, 0) << c.what;
            QJsonObject seam;
            for (const auto value : Lines(show))
                if (value.toObject()["serialNumber"].toInt() == c.seam)
                    seam = value.toObject();
            EXPECT_EQ(seam["fare"], c.fare) << c.what << (newerFirst ? ", newer first" : "");
            EXPECT_EQ(seam["applyFlag"].toInt(), c.fare.isNull() ? 0 : 1) << c.what;
        }
    }
}

// Within a day the card history is ordered as the card made it, the
// counter's wrap from 0xFFFF to 0 included.
TEST_F(CliTest, TheCardHistoryKeepsItsOrderAcrossTheCountersWrap)
{
    const QString ent = dir.filePath("claim.ent");
    const QString image =
        File("card.txt", Dump(kCard, {{1, 4600}, {0, 4800}, {0xFFFF, 5000}}).toUtf8());
    ASSERT_EQ(Cli({"import-dump", "--station-db", Db(), image, ent}).status, 0);
    const QString csv = dir.filePath("history.csv");
    ASSERT_EQ(Cli({"csv", "--profile", "history", ent, csv}).status, 0);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList rows = DecodeShiftJis(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 5);
    QStringList balances;
    for (const QString& row : rows.mid(2))
        balances << row.section(',', 8, 8);
    EXPECT_EQ(balances, (QStringList{"4600", "4800", "5000"}));
}

// Another card is named in the refusal: its ID's last digits, its balance
// and its newest use.
TEST_F(CliTest, AnotherCardIsNamed)
{
    const QString ent = dir.filePath("claim.ent");
    ASSERT_EQ(Cli({"import-dump", "--station-db", Db(),
                   File("mine.txt", Dump(kCard, CardRecords(3, 1)).toUtf8()), ent})
                  .status,
              0);
    const QByteArray before = Bytes(ent);
    const QString other =
        File("other.txt",
             Dump(QStringLiteral("01 01 0A 0B 0C 0D 77 41"), {{31, 4321}, {30, 4500}}).toUtf8());
    const CliRun refused = Cli({"import-dump", "--station-db", Db(), other, ent});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(
        "別のカードの履歴です（カード ****7741、残額 4,321円、最終利用 2026/11/02）。"))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("--other-card"));
    EXPECT_EQ(Bytes(ent), before);
}
