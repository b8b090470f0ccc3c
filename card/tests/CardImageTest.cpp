#include "CardImage.h"

#include "CardReadJob.h"

#include <gtest/gtest.h>

namespace
{
const char* kDump = R"(Filetype: Flipper NFC device
Version: 4
Device type: FeliCa
UID: 01 14 02 12 3A 4B 5C 6D
Manufacture parameter: 10 0B 4B 42 84 85 D0 FF
System 00: 0003
System 01: FE00

Block 0000: | Service code 008B | Block index 00 | Data: 00 00 00 00 00 00 00 00 20 00 00 0A 00 00 01 E3 |
Block 0001: | Service code 090F | Block index 00 | Data: 16 01 00 00 35 62 01 10 01 20 34 03 00 01 02 00 |
Block 0002: | Service code 090F | Block index 01 | Data: 16 01 00 00 35 62 01 20 01 10 FC 03 00 01 01 00 |
)";
} // namespace

TEST(CardImage, ReadsNfcToolDump)
{
    QString error;
    const auto image = CardImage::Parse(kDump, &error);
    ASSERT_TRUE(image) << error.toStdString();
    EXPECT_EQ(image->idm, (CardId{0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x5C, 0x6D}));
    EXPECT_EQ(image->pmm[0], 0x10);
    EXPECT_EQ(image->systemCodes, (std::vector<std::uint16_t>{0x0003, 0xFE00}));
    ASSERT_EQ(image->history.size(), 2u);
    EXPECT_EQ(image->history[0][10], 0x34);
    EXPECT_EQ(image->history[1][10], 0xFC);
}

TEST(CardImage, JsonRoundTrip)
{
    const auto image = CardImage::Parse(kDump, nullptr);
    ASSERT_TRUE(image);
    QString error;
    const auto again = CardImage::Parse(image->ToJson(), &error);
    ASSERT_TRUE(again) << error.toStdString();
    EXPECT_EQ(again->idm, image->idm);
    EXPECT_EQ(again->pmm, image->pmm);
    EXPECT_EQ(again->systemCodes, image->systemCodes);
    EXPECT_EQ(again->history, image->history);
}

TEST(CardImage, JsonDefaultsToTheTransitSystem)
{
    const auto image = CardImage::Parse(R"({"idm": "0114021234567890", "history": []})", nullptr);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->systemCodes, std::vector<std::uint16_t>{0x0003});
    EXPECT_TRUE(image->history.empty());
}

TEST(CardImage, ErrorsNameTheLine)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"UID: 01 02\n", "1行目: UID は16進数8バイト"},
        {"UID: 01 02 03 04 05 06 07 08\n\nBlock 0001: | Service code 090F | Block index 00 | "
         "Data: 16 01 |\n",
         "3行目: ブロックは16進数16バイト"},
        {"UID: 01 02 03 04 05 06 07 08\nBlock 0001: Service 090F\n",
         "2行目: ブロックの行を読み取れません。"},
        {"Device type: FeliCa\n", "ダンプに \"UID:\" の行がありません。"},
        {"{\n  \"idm\": \"0102030405060708\",\n  \"history\": [\n    \"00\",\n", "5行目"},
        {"{\n  \"idm\": \"01020304050607\",\n  \"history\": []\n}", "2行目: \"idm\" は"},
        {"{\n  \"idm\": \"0102030405060708\",\n  \"history\": [\n"
         "    \"16 01 00 00 35 62 01 10 01 20 34 03 00 01 02 00\",\n"
         "    \"16 01 00 00 35 62 01 10 01 20 34 03 00 01 02 0G\"\n  ]\n}",
         "5行目: 履歴ブロック 1 は"},
        {"{\n  \"idm\": \"0102030405060708\",\n  \"systemCodes\": [\"12345\"],\n  \"history\": "
         "[]\n}",
         "3行目: システムコード"},
        {"[1, 2]", "1行目: カードイメージは JSON"},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(CardImage::Parse(c.text, &error)) << c.text;
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.expected)))
            << c.text << "\n=> " << error.toStdString();
    }
}

TEST(CardImage, MissingFileNamesThePath)
{
    QString error;
    EXPECT_FALSE(CardImage::Load("/nonexistent/card.json", &error));
    EXPECT_TRUE(error.startsWith("/nonexistent/card.json: "));
}

TEST(CardImage, DemoCardDecodes)
{
    QString error;
    const auto image = CardImage::Load(FENWIR_SOURCE_DIR "/res/demo-card.json", &error);
    ASSERT_TRUE(image) << error.toStdString();
    ASSERT_EQ(image->history.size(), 20u);

    EntryLines lines;
    std::vector<CardHistoryRow> rows;
    CardInfo card{CardInfo::kRead, image->idm, image->pmm};
    CardReadJob job(lines, rows, card);
    std::int32_t previous = -1;
    int claimed = 0;
    for (auto block = image->history.rbegin(); block != image->history.rend(); ++block)
        claimed += job.DecodeBlock(*block, previous)->applyFlag;
    EXPECT_EQ(rows.size(), 20u);
    EXPECT_EQ(previous, image->history[0][10] + 256 * image->history[0][11]);
    EXPECT_EQ(claimed, 15); // journeys and the bus ride; not the shop or the charges
}
