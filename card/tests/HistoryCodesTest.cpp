#include "HistoryCodes.h"

#include <gtest/gtest.h>

TEST(HistoryCodes, TerminalTexts)
{
    const std::pair<int, const char*> cases[] = {
        {3, "精算機"},  {7, "券売機"}, {8, "券売機"}, {18, "券売機"},
        {22, "改札機"}, {72, "ATM"},   {199, "物販"}, {200, "自販機等"},
        {0, ""},        {6, ""},       {255, ""},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(TerminalTypeText(static_cast<std::uint8_t>(code)), QString::fromUtf8(text))
            << code;
}

TEST(HistoryCodes, ProcessTexts)
{
    const std::pair<int, const char*> cases[] = {
        {1, "運賃支払"},
        {2, "チャージ"},
        {13, "バス等"},
        {15, "バス等"},
        {19, "支払(新幹線利用)"},
        {20, "入場時オートチャージ"},
        {203, "入場現金併用物販"},
        {0x81, ""},
        {0, ""},
        {9, ""},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(ProcessTypeText(static_cast<std::uint8_t>(code)), QString::fromUtf8(text))
            << code;
}
