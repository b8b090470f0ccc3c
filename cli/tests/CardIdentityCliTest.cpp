// One card, whatever ID it gives: reads through the command line of a
// phone's card under a new ID, of a card's older and newer records, and of
// another card.
#include "CliFixture.h"

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

    // Next month's claim from the phone: the trips claimed before are known.
    const CliRun november =
        Cli({"import-dump", "--json", "--station-db", Db(), later, dir.filePath("november.ent")});
    ASSERT_EQ(november.status, 0) << november.err.toStdString();
    std::vector<std::pair<int, bool>> lines; // serial, applied
    for (const auto value : Lines(november))
        lines.emplace_back(value.toObject()["serialNumber"].toInt(),
                           value.toObject()["applied"].toBool());
    // Record 4 is the read's oldest: no fare, nothing to match a claimed trip.
    EXPECT_EQ(lines, (std::vector<std::pair<int, bool>>{
                         {4, false}, {5, true}, {6, false}, {7, false}, {8, false}}));
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

    // A gap in the records leaves the fare unknown.
    const CliRun gap = Cli({"import-dump", "--json", "--station-db", Db(),
                            File("gap.txt", Dump(kCard, CardRecords(45, 42)).toUtf8()), ent});
    ASSERT_EQ(gap.status, 0) << gap.err.toStdString();
    EXPECT_EQ(Lines(gap)[0].toObject()["fare"].toInt(), 0);
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
