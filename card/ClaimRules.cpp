#include "ClaimRules.h"

#include <algorithm>
#include <array>

bool CanApply(const EntryInfo& line)
{
    return (line.fare > 0 || line.IsManual()) && line.processType != 0x07 &&
           line.processType != 0x11 && line.terminalType != 0xC7 && line.terminalType != 0xC8;
}

bool IsListed(const EntryInfo& line, const ClaimFilter& filter)
{
    if (line.hidden == 1 || line.dateTime < filter.from || line.dateTime >= filter.until)
        return false;
    if (filter.showAll)
        return true;
    static constexpr std::array<std::uint8_t, 9> kLeftOut = {0x07, 0x11, 0x46, 0x48, 0x49,
                                                             0x4A, 0x4B, 0xC6, 0xCB};
    return line.fare > 0 &&
           std::find(kLeftOut.begin(), kLeftOut.end(), line.processType) == kLeftOut.end() &&
           line.terminalType != 0xC7 && line.terminalType != 0xC8;
}

std::vector<const EntryInfo*> ClaimedLines(const EntryLines& lines, const ClaimFilter& filter)
{
    std::vector<const EntryInfo*> claimed;
    for (const auto& line : lines)
        if (line->applyFlag == 1 && IsListed(*line, filter) && CanApply(*line))
            claimed.push_back(line.get());
    return claimed;
}

std::int64_t ClaimedTotal(const std::vector<const EntryInfo*>& claimed)
{
    std::int64_t total = 0;
    for (const EntryInfo* line : claimed)
        total += line->fare;
    return total;
}

bool IsOtherCard(const EntryLines& lines, const CardId& idm)
{
    bool anyCardLine = false;
    for (const auto& line : lines) {
        if (line->IsManual())
            continue;
        anyCardLine = true;
        if (std::equal(line->idm.begin() + 1, line->idm.end(), idm.begin() + 1))
            return false;
    }
    return anyCardLine;
}
