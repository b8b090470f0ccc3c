#include "EntryInfo.h"

#include <gtest/gtest.h>

TEST(EntryInfo, BlankLineIsAllZero)
{
    const EntryInfo line;
    EXPECT_EQ(line.dateTime, 0);
    EXPECT_EQ(line.applyFlag, 0);
    EXPECT_EQ(line.bearing, 0.0f);
    EXPECT_TRUE(line.remarks.isEmpty());
    EXPECT_EQ(line.idm, CardId{});
}

TEST(EntryInfo, ManualLine)
{
    const EntryInfo line = EntryInfo::ManualLine(1'800'000'000);
    EXPECT_TRUE(line.IsManual());
    EXPECT_EQ(line.applyFlag, 1);
    EXPECT_EQ(line.hidden, 0);
    EXPECT_EQ(line.dateTime, 1'800'000'000);
    EXPECT_EQ(line.paymentType, 0);
    EXPECT_EQ(line.fare, 0);
    EXPECT_EQ(line.idm, CardId{});
}

TEST(EntryInfo, ManualNeedsBothCodes)
{
    const std::tuple<int, int, bool> cases[] = {
        {0xFF, 0xFF, true}, {0xFF, 0x01, false}, {0x16, 0xFF, false}, {0, 0, false}};
    for (const auto& [terminal, process, manual] : cases) {
        EntryInfo line;
        line.terminalType = static_cast<std::uint8_t>(terminal);
        line.processType = static_cast<std::uint8_t>(process);
        EXPECT_EQ(line.IsManual(), manual) << terminal << "/" << process;
    }
}
