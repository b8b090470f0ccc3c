#include "BlockDecodeError.h"
#include "CardReadJob.h"
#include "LocalTime.h"

#include <gtest/gtest.h>

namespace
{
// A rail fare payment of 2026-11-02 with the given balance; fields overridden per case.
HistoryBlock Block(int balance)
{
    HistoryBlock b{0x16,
                   0x01,
                   0x00,
                   0x00,
                   0x35,
                   0x62,
                   0x01,
                   0x10,
                   0x01,
                   0x20,
                   static_cast<std::uint8_t>(balance & 0xFF),
                   static_cast<std::uint8_t>(balance >> 8),
                   0x00,
                   0x01,
                   0x02,
                   0x00};
    return b;
}

std::int64_t Local(int y, int mo, int d, int h = 0, int mi = 0)
{
    return *LocalToTimestamp(y, mo, d, h, mi, 0);
}

class DecodeBlockTest : public ::testing::Test
{
protected:
    DecodeBlockTest() : job(lines, rows, card) { card.idm = {1, 2, 3, 4, 5, 6, 7, 8}; }

    std::unique_ptr<EntryInfo> Decode(const HistoryBlock& block)
    {
        return job.DecodeBlock(block, previous);
    }

    EntryLines lines;
    std::vector<CardHistoryRow> rows;
    CardInfo card;
    CardReadJob job;
    std::int32_t previous = -1;
};
} // namespace

TEST_F(DecodeBlockTest, FaresFollowThePreviousBalance)
{
    HistoryBlock charge = Block(3820);
    charge[0] = 0x07;
    charge[1] = 0x02;
    const HistoryBlock blocks[] = {Block(1000), Block(820), charge, Block(3620)};
    const int fares[] = {0, 180, -3000, 200};
    const int flags[] = {0, 1, 0, 1};
    const int payments[] = {0, 180, 0, 200};
    const int deposits[] = {0, 0, 3000, 0};
    for (int i = 0; i < 4; ++i) {
        const auto line = Decode(blocks[i]);
        EXPECT_EQ(line->fare, fares[i]) << i;
        EXPECT_EQ(line->applyFlag, flags[i]) << i;
        EXPECT_EQ(rows.at(i).payment, payments[i]) << i;
        EXPECT_EQ(rows.at(i).deposit, deposits[i]) << i;
        EXPECT_EQ(rows.at(i).balance, line->balance) << i;
    }
    EXPECT_EQ(previous, 3620);
    EXPECT_EQ(rows.at(2).terminalText, "券売機");
    EXPECT_EQ(rows.at(2).processText, "チャージ");
    EXPECT_TRUE(lines.empty()); // decoding never touches the document's lines
}

TEST_F(DecodeBlockTest, RailRecordFields)
{
    HistoryBlock b = Block(0x2710);
    b[2] = 0x02;
    b[3] = 0x9C;
    b[12] = 0x80;
    b[13] = 0x00;
    b[14] = 0x01;
    b[15] = 0xC5;
    const auto line = Decode(b);
    EXPECT_EQ(line->balance, 10000); // little-endian, not 4135
    EXPECT_EQ(line->idm, card.idm);
    EXPECT_EQ(line->paymentType, 0x02);
    EXPECT_EQ(line->recordByte3, 0x9C);
    EXPECT_EQ(line->dateTime, Local(2026, 11, 2));
    EXPECT_EQ(line->entryLine, 1);
    EXPECT_EQ(line->entryStation, 0x10);
    EXPECT_EQ(line->exitLine, 1);
    EXPECT_EQ(line->exitStation, 0x20);
    EXPECT_EQ(line->serialNumber, -8388607);
    EXPECT_EQ(line->regionByte, 197);
    EXPECT_EQ(line->entryArea, 3);
    EXPECT_EQ(line->exitArea, 3);
    EXPECT_EQ(line->fare, 0);
    EXPECT_EQ(line->applyFlag, 0);
    EXPECT_FALSE(line->IsManual());
    EXPECT_TRUE(line->entryStationName.isEmpty());
    EXPECT_EQ(line->entryLatitude, 0.0);
}

TEST_F(DecodeBlockTest, RecordClasses)
{
    struct Case {
        std::uint8_t terminal, process;
        std::array<std::uint8_t, 4> codes;
        std::int32_t entryLine, entryStation, exitLine, exitStation;
        int applyFlag;
        int hour, minute;
    };
    const Case cases[] = {
        // shop with time word 0x9A40: 19:18
        {199, 70, {0x9A, 0x40, 0x11, 0x22}, 0, 0, 0, 0, 0, 19, 18},
        // shop process on another terminal: no time
        {0x16, 70, {0x9A, 0x40, 0x11, 0x22}, 0, 0, 0, 0, 0, 0, 0},
        // shop wins over bus
        {200, 13, {0x01, 0x2C, 0x00, 0x7B}, 0, 0, 0, 0, 0, 0, 9},
        // bus on terminal 5
        {5, 1, {0x01, 0x2C, 0x00, 0x7B}, 0, 0, 300, 123, 1, 0, 0},
        // bus by process 35
        {0x16, 35, {0x01, 0x2C, 0x00, 0x7B}, 0, 0, 300, 123, 1, 0, 0},
        // process 72 (a charge) is read as rail codes
        {0x16, 72, {0x01, 0x2C, 0x00, 0x7B}, 0x01, 0x2C, 0x00, 0x7B, 1, 0, 0},
        // issue and reissue are never claimed
        {0x16, 7, {1, 2, 3, 4}, 1, 2, 3, 4, 0, 0, 0},
        {0x16, 17, {1, 2, 3, 4}, 1, 2, 3, 4, 0, 0, 0},
        // unknown codes: rail
        {0xFF, 0x81, {1, 2, 3, 4}, 1, 2, 3, 4, 1, 0, 0},
    };
    for (const Case& c : cases) {
        previous = 1200; // a payment of 200
        HistoryBlock b = Block(1000);
        b[0] = c.terminal;
        b[1] = c.process;
        std::copy(c.codes.begin(), c.codes.end(), b.begin() + 6);
        const auto line = Decode(b);
        SCOPED_TRACE(testing::Message() << int(c.terminal) << "/" << int(c.process));
        EXPECT_EQ(line->entryLine, c.entryLine);
        EXPECT_EQ(line->entryStation, c.entryStation);
        EXPECT_EQ(line->exitLine, c.exitLine);
        EXPECT_EQ(line->exitStation, c.exitStation);
        EXPECT_EQ(line->fare, 200);
        EXPECT_EQ(line->applyFlag, c.applyFlag);
        EXPECT_EQ(line->dateTime, Local(2026, 11, 2, c.hour, c.minute));
    }
}

TEST_F(DecodeBlockTest, ChargeIsNegativeAndUnclaimed)
{
    previous = 1000;
    HistoryBlock b = Block(4000);
    b[1] = 72;
    const auto line = Decode(b);
    EXPECT_EQ(line->fare, -3000);
    EXPECT_EQ(line->applyFlag, 0);
}

TEST_F(DecodeBlockTest, OutOfRangeDatesRaise)
{
    struct Case {
        std::uint16_t date;
        std::uint16_t time;
    };
    const Case cases[] = {
        {(26 << 9) | (0 << 5) | 1, 0},                      // month 0
        {(26 << 9) | (13 << 5) | 1, 0},                     // month 13
        {(26 << 9) | (15 << 5) | 1, 0},                     // month 15
        {(26 << 9) | (4 << 5) | 0, 0},                      // day 0
        {(26 << 9) | (4 << 5) | 1, 24 << 11},               // hour 24
        {(26 << 9) | (4 << 5) | 1, (12 << 11) | (60 << 5)}, // minute 60
    };
    for (const Case& c : cases) {
        HistoryBlock b = Block(1000);
        b[0] = 199;
        b[4] = c.date >> 8;
        b[5] = c.date & 0xFF;
        b[6] = c.time >> 8;
        b[7] = c.time & 0xFF;
        const auto before = previous;
        EXPECT_THROW(Decode(b), BlockDecodeError) << std::hex << c.date << " " << c.time;
        EXPECT_EQ(previous, before);
    }
    EXPECT_TRUE(rows.empty());
}

TEST_F(DecodeBlockTest, DayBeyondTheMonthCarriesOver)
{
    HistoryBlock b = Block(1000);
    const std::uint16_t date = (26 << 9) | (4 << 5) | 31; // 31 April
    b[4] = date >> 8;
    b[5] = date & 0xFF;
    EXPECT_EQ(Decode(b)->dateTime, Local(2026, 5, 1));
}
