#include "AppliedLines.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CardImport.h"
#include "EntrySamples.h"
#include "HistoryFile.h"
#include "MessageReporter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class SilentReporter : public MessageReporter
{
public:
    void Report(int, const QString&, Icon) override {}
};

EntryInfo ManualOn(std::int64_t when, int fare)
{
    EntryInfo line = EntryInfo::ManualLine(when);
    line.fare = fare;
    line.entryStationName = QStringLiteral("東京");
    line.exitStationName = QStringLiteral("横浜");
    return line;
}

// A card's newest records as a read gives them (rail trips of 200 yen, the
// oldest without a fare): the record with sequence number s always holds the
// balance top - 200 s, so reads of one card agree on every record.
HistoryBlocks Blocks(int trips, int top = 2000)
{
    HistoryBlocks blocks;
    for (int n = 0; n < trips + 1; ++n) {
        HistoryBlock block{0x16, 0x01, 0, 0, 0x35, 0x62, 0x01, 0x10, 0x01, 0x20, 0, 0, 0, 0, 0, 0};
        const int serial = trips + 1 - n;
        const int balance = top - 200 * serial;
        block[10] = static_cast<std::uint8_t>(balance & 0xFF);
        block[11] = static_cast<std::uint8_t>(balance >> 8);
        block[14] = static_cast<std::uint8_t>(serial);
        blocks.push_back(block);
    }
    return blocks;
}

CardInfo Card(std::uint8_t last)
{
    return CardInfo{CardInfo::kRead, {0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x5C, last}, {}};
}
} // namespace

TEST(AppliedLines, TellsAClaimedTripWhenItComesAgain)
{
    AppliedLines applied;
    const EntryInfo card = SampleCardLine(7);
    const EntryInfo manual = ManualOn(1'793'545'200, 480);
    applied.Add(0, {1, 680, "Apply261130-091500.ent"}, {&card, &manual},
                QDateTime(QDate(2026, 11, 30), QTime(9, 15)));

    struct Case {
        const char* name;
        EntryInfo line;
        bool applied;
    };
    EntryInfo otherSerial = card;
    otherSerial.serialNumber = 8;
    EntryInfo otherId = card; // a phone's card may give another ID each time
    otherId.idm[7] = 0x99;
    otherId.idm[0] = 0x99;
    EntryInfo otherBalance = card;
    otherBalance.balance += 10;
    EntryInfo otherDay = card;
    otherDay.dateTime += 86400;
    EntryInfo otherExit = card;
    otherExit.exitStation += 1;
    EntryInfo edited = card; // names, remarks and marks do not count
    edited.remarks = QStringLiteral("打合せ");
    edited.applyFlag = 0;
    EntryInfo laterThatDay = manual;
    laterThatDay.dateTime += 3600;
    EntryInfo otherFare = manual;
    otherFare.fare = 500;
    EntryInfo otherStation = manual;
    otherStation.exitStationName = QStringLiteral("川崎");
    const Case cases[] = {
        {"the same card trip", card, true},
        {"the same trip, edited", edited, true},
        {"another sequence number", otherSerial, false},
        {"the same trip under another card ID", otherId, true},
        {"another balance", otherBalance, false},
        {"another day", otherDay, false},
        {"another exit station", otherExit, false},
        {"the same manual line", manual, true},
        // Made by hand later: another trip, though its day, route and fare agree.
        {"another manual line of that day", laterThatDay, false},
        {"another fare", otherFare, false},
        {"another station", otherStation, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(applied.AppliedOn(c.line).has_value(), c.applied) << c.name;
    EXPECT_EQ(applied.AppliedOn(card), QDate(2026, 11, 30));
}

TEST(AppliedLines, HistoryListsEveryApplicationNewestFirst)
{
    QTemporaryDir dir;
    AppSettings settings;
    settings.DefaultPath = dir.path();
    CCorvaneDoc doc(settings);
    doc.ReplaceLines(SampleLines(3));
    ASSERT_TRUE(doc.RecordApplication({doc.Lines()[0].get(), doc.Lines()[1].get()}));
    // An application whose snapshot is damaged is still listed.
    std::vector<ApplyRecord> records = doc.History().Records();
    records.push_back({1, 999, dir.filePath("ApplyHistory/Apply250101-080000.ent")});
    WriteAll(dir.filePath("ApplyHistory/Apply.hst"), HistoryFile::Serialize({records, {}}));
    QFile damaged(dir.filePath("ApplyHistory/Apply250101-080000.ent"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("broken");
    damaged.close();

    CCorvaneDoc later(settings); // a new run reads the snapshots back
    const auto applications = later.Applications();
    ASSERT_EQ(applications.size(), 2u);
    EXPECT_EQ(applications[0].amount, 401);
    EXPECT_EQ(applications[0].lineCount, 2);
    EXPECT_EQ(applications[0].printed.date(), QDate::currentDate());
    EXPECT_EQ(applications[1].printed, QDateTime(QDate(2025, 1, 1), QTime(8, 0)));
    EXPECT_EQ(applications[1].lineCount, -1);
    EXPECT_TRUE(later.AppliedOn(*doc.Lines()[1]));
    EXPECT_FALSE(later.AppliedOn(*doc.Lines()[2]));
}

// A read into a new claim leaves the trips claimed last month unmarked; the
// history of another card joins a claim only when the user says so.
TEST(AppliedLines, CardImportKnowsClaimedTripsAndOtherCards)
{
    QTemporaryDir dir;
    AppSettings settings;
    settings.DefaultPath = dir.path();
    SilentReporter messages;
    CCorvaneDoc doc(settings);
    const auto never = [](const OtherCard&) { return false; };
    ImportCard(doc, Card(0x6D), Blocks(2), QString(), settings, messages, never);
    ASSERT_EQ(doc.Lines().size(), 3u);
    ASSERT_TRUE(doc.RecordApplication({doc.Lines()[1].get()})); // the first trip claimed

    doc.NewDocument();
    const CardImport again =
        ImportCard(doc, Card(0x6D), Blocks(3), QString(), settings, messages, never);
    ASSERT_EQ(again.added.size(), 4u);
    std::vector<int> marks;
    for (const EntryInfo* line : again.added)
        marks.push_back(line->applyFlag);
    EXPECT_EQ(marks, (std::vector<int>{0, 0, 1, 1})); // oldest (no fare), claimed, new, new

    int asked = 0;
    const CardImport other = ImportCard(doc, Card(0x77), Blocks(1, 5000), QString(), settings,
                                        messages, [&](const OtherCard&) { return ++asked, false; });
    EXPECT_TRUE(other.declined);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(doc.Lines().size(), 4u);
    EXPECT_EQ(doc.UndoStack().count(), 1);
    const CardImport added = ImportCard(doc, Card(0x77), Blocks(1, 5000), QString(), settings,
                                        messages, [](const OtherCard&) { return true; });
    EXPECT_FALSE(added.declined);
    EXPECT_EQ(doc.Lines().size(), 6u);
}
