#include "HistoryCodes.h"

#include <gtest/gtest.h>
#include <map>

namespace
{
// Every code of both tables, written out; any code not here has no text.
const std::map<int, const char*> kTerminals = {
    {3, "精算機"},      {4, "携帯型端末"},  {5, "車載端末"},    {7, "券売機"},    {8, "券売機"},
    {9, "入金機"},      {18, "券売機"},     {20, "券売機等"},   {21, "券売機等"}, {22, "改札機"},
    {23, "簡易改札機"}, {24, "窓口端末"},   {25, "窓口端末"},   {26, "改札端末"}, {27, "携帯電話"},
    {28, "乗継精算機"}, {29, "連絡改札機"}, {31, "簡易入金機"}, {70, "ATM"},      {72, "ATM"},
    {199, "物販"},      {200, "自販機等"},
};
const std::map<int, const char*> kProcesses = {
    {1, "運賃支払"},
    {2, "チャージ"},
    {3, "磁気券購入"},
    {4, "精算"},
    {5, "入場精算"},
    {6, "改札窓口処理"},
    {7, "新規発行"},
    {8, "窓口控除"},
    {13, "バス等"},
    {15, "バス等"},
    {17, "再発行"},
    {19, "支払(新幹線利用)"},
    {20, "入場時オートチャージ"},
    {21, "出場時オートチャージ"},
    {29, "他ICカード精算"},
    {31, "バスチャージ"},
    {35, "バス等企画券購入"},
    {70, "物販"},
    {72, "特典チャージ"},
    {73, "現金チャージ"},
    {74, "物販取消"},
    {75, "入場物販"},
    {132, "他社精算"},
    {133, "他社入場精算"},
    {153, "現金併用精算"},
    {198, "現金併用物販"},
    {203, "入場現金併用物販"},
};
} // namespace

TEST(HistoryCodes, EveryCodeHasItsTextOrNone)
{
    for (int code = 0; code <= 255; ++code) {
        const auto terminal = kTerminals.find(code);
        const auto process = kProcesses.find(code);
        EXPECT_EQ(TerminalTypeText(static_cast<std::uint8_t>(code)),
                  QString::fromUtf8(terminal == kTerminals.end() ? "" : terminal->second))
            << code;
        EXPECT_EQ(ProcessTypeText(static_cast<std::uint8_t>(code)),
                  QString::fromUtf8(process == kProcesses.end() ? "" : process->second))
            << code;
    }
}
