#include "CardIdentity.h"

#include <gtest/gtest.h>

namespace
{
const CardId kCard{0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x39, 0x06};
const CardId kPhoneLater{0x01, 0x2E, 0x44, 0x71, 0x08, 0x9C, 0x10, 0x22};

// A rail record as a read of the card decodes it.
std::unique_ptr<EntryInfo> Record(int serial, int balance, const CardId& idm = kCard)
{
    auto line = std::make_unique<EntryInfo>();
    line->idm = idm;
    line->terminalType = 0x16;
    line->processType = 0x01;
    line->dateTime = 1'793'545'200 + 3600 * serial;
    line->balance = balance;
    line->serialNumber = serial;
    line->entryArea = line->exitArea = 0;
    line->entryLine = 1;
    line->entryStation = 16;
    line->exitLine = 1;
    line->exitStation = 32;
    return line;
}

std::vector<const EntryInfo*> Pointers(const EntryLines& lines)
{
    std::vector<const EntryInfo*> pointers;
    for (const auto& line : lines)
        pointers.push_back(line.get());
    return pointers;
}
} // namespace

TEST(CardIdentity, OneRecordWhateverTheIdAndNames)
{
    const auto record = Record(7, 1200);
    struct Case {
        const char* name;
        std::function<void(EntryInfo&)> change;
        bool same;
    };
    const Case cases[] = {
        {"as read again", [](EntryInfo&) {}, true},
        {"under another ID", [](EntryInfo& l) { l.idm = kPhoneLater; }, true},
        {"named, annotated, fare known",
         [](EntryInfo& l) {
             l.exitStationName = QStringLiteral("東京");
             l.remarks = QStringLiteral("打合せ");
             l.fare = 200;
             l.applyFlag = 1;
         },
         true},
        {"another sequence number", [](EntryInfo& l) { l.serialNumber = 8; }, false},
        {"another balance", [](EntryInfo& l) { l.balance = 1000; }, false},
        {"another day", [](EntryInfo& l) { l.dateTime += 86400; }, false},
        {"another station", [](EntryInfo& l) { l.exitStation = 33; }, false},
        {"a line by hand", [](EntryInfo& l) { l.terminalType = l.processType = 0xFF; }, false},
    };
    for (const Case& c : cases) {
        EntryInfo other = *record;
        c.change(other);
        EXPECT_EQ(IsSameRecord(*record, other), c.same) << c.name;
    }
}

// A phone's card read again under a new ID is the claim's card when one of
// its records is the claim's; otherwise it is another card.
TEST(CardIdentity, TheClaimsCardUnderANewIdAndAnotherCard)
{
    EntryLines claim;
    claim.push_back(Record(5, 1600));
    claim.push_back(Record(6, 1400));
    EntryLines overlapping;
    overlapping.push_back(Record(6, 1400, kPhoneLater));
    overlapping.push_back(Record(7, 1200, kPhoneLater));
    EntryLines unrelated;
    unrelated.push_back(Record(6, 3000, kPhoneLater));

    EXPECT_FALSE(IsOtherCard(claim, kPhoneLater, Pointers(overlapping)));
    EXPECT_TRUE(IsOtherCard(claim, kPhoneLater, Pointers(unrelated)));
    CardId firstByte = kCard;
    firstByte[0] = 0x03; // a reader that reports the first byte differently
    EXPECT_FALSE(IsOtherCard(claim, firstByte, Pointers(unrelated)));
    EXPECT_FALSE(IsOtherCard(EntryLines(), kPhoneLater, Pointers(unrelated)));

    const auto ids = KnownIdsOf(claim, kPhoneLater, Pointers(overlapping));
    EXPECT_EQ(ids, (std::vector<CardId>{kPhoneLater, kCard}));
    // The record before the read's oldest, found under the card's old ID.
    const auto after = Record(7, 1200, kPhoneLater);
    EXPECT_EQ(RecordBefore(claim, ids, *after), claim[1].get());
    EXPECT_EQ(RecordBefore(claim, {kPhoneLater}, *after), nullptr);
    EXPECT_EQ(MaskedCardId(kCard), QStringLiteral("****3906"));
}
