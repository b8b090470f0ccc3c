#include "ClaimRules.h"

#include "LocalTime.h"

#include <gtest/gtest.h>

namespace
{
EntryInfo Line(int terminal, int process, int fare, int hidden = 0)
{
    EntryInfo line;
    line.terminalType = static_cast<std::uint8_t>(terminal);
    line.processType = static_cast<std::uint8_t>(process);
    line.fare = fare;
    line.hidden = static_cast<std::uint8_t>(hidden);
    line.applyFlag = 1;
    return line;
}
} // namespace

TEST(ClaimRules, ApplyRuleAndListFilter)
{
    struct Case {
        const char* name;
        EntryInfo line;
        bool canApply, listedAll, listedFiltered;
    };
    const Case cases[] = {
        {"rail fare", Line(0x16, 0x01, 210), true, true, true},
        {"card line fare 0", Line(0x16, 0x01, 0), false, true, false},
        {"charge", Line(0x08, 0x02, -3000), false, true, false},
        {"manual fare 0", Line(0xFF, 0xFF, 0), true, true, false},
        {"manual with fare", Line(0xFF, 0xFF, 500), true, true, true},
        {"terminal FF alone is a card line", Line(0xFF, 0x01, 0), false, true, false},
        {"issue 0x07", Line(0x16, 0x07, 100), false, true, false},
        {"issue 0x11", Line(0x16, 0x11, 100), false, true, false},
        {"shop terminal C7", Line(0xC7, 0x46, 120), false, true, false},
        {"vending C8", Line(0xC8, 0x46, 120), false, true, false},
        {"a purchase at a gate terminal", Line(0x16, 0x46, 120), false, true, false},
        {"process 0x48", Line(0x16, 0x48, 50), true, true, false},
        {"an entry purchase, part cash", Line(0x16, 0xCB, 50), false, true, false},
        {"bus", Line(0x05, 0x0D, 220), true, true, true},
        {"hidden", Line(0x16, 0x01, 210, 1), true, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CanApply(c.line), c.canApply) << c.name;
        EXPECT_EQ(IsListed(c.line, ClaimFilter{true}), c.listedAll) << c.name;
        EXPECT_EQ(IsListed(c.line, ClaimFilter{false}), c.listedFiltered) << c.name;
    }
}

TEST(ClaimRules, ClaimHoldsOnlyMarkedLinesTheListWouldOffer)
{
    EntryLines lines;
    for (const EntryInfo& line :
         {Line(0x16, 0x01, 210), Line(0x08, 0x02, -3000), Line(0xC7, 0x46, 120),
          Line(0x16, 0x01, 180, 1), Line(0xFF, 0xFF, 0), Line(0x16, 0x01, 300)})
        lines.push_back(std::make_unique<EntryInfo>(line));
    lines.back()->applyFlag = 0;

    const auto claimed = ClaimedLines(lines);
    ASSERT_EQ(claimed.size(), 2u);
    EXPECT_EQ(claimed[0], lines[0].get());
    EXPECT_EQ(claimed[1], lines[4].get()); // a manual line may be claimed at 0
    EXPECT_EQ(ClaimedTotal(claimed), 210);
    EXPECT_EQ(ClaimedLines(lines, ClaimFilter{false}).size(), 1u);

    // Totals do not wrap around.
    EntryLines big;
    for (int i = 0; i < 3; ++i) {
        big.push_back(std::make_unique<EntryInfo>(Line(0xFF, 0xFF, 2'000'000'000)));
    }
    EXPECT_EQ(ClaimedTotal(ClaimedLines(big)), 6'000'000'000LL);
}
