#include "ClaimRules.h"

#include <algorithm>
#include <array>

namespace
{
// The processes a list without "全て表示" leaves out, as a table by code: the
// test runs for every line of a claim at every refill.
constexpr std::array<bool, 256> LeftOutProcesses()
{
    std::array<bool, 256> table{};
    for (const std::uint8_t code : {0x07, 0x11, 0x46, 0x48, 0x49, 0x4A, 0x4B, 0xC6, 0xCB})
        table[code] = true;
    return table;
}
constexpr std::array<bool, 256> kLeftOut = LeftOutProcesses();

// Not hidden, and of the period.
bool InPeriod(const EntryInfo& line, const ClaimFilter& filter)
{
    return line.hidden != 1 && line.dateTime >= filter.from && line.dateTime < filter.until;
}

// What a list without "全て表示" shows: journeys with a fare.
bool IsJourneyWithFare(const EntryInfo& line)
{
    return line.fare > 0 && !kLeftOut[line.processType] && line.terminalType != 0xC7 &&
           line.terminalType != 0xC8;
}
} // namespace

bool IsListed(const EntryInfo& line, const ClaimFilter& filter)
{
    return InPeriod(line, filter) && (filter.showAll || IsJourneyWithFare(line));
}

bool IsClaimed(const EntryInfo& line, const ClaimFilter& filter)
{
    return line.applyFlag == 1 && IsListed(line, filter) && CanApply(line);
}

std::vector<int> ListedPositions(const EntryLines& lines, const ClaimFilter& filter)
{
    std::vector<int> positions;
    positions.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (IsListed(*lines[i], filter))
            positions.push_back(static_cast<int>(i));
    return positions;
}

std::vector<const EntryInfo*> ClaimedLines(const EntryLines& lines, const ClaimFilter& filter)
{
    std::vector<const EntryInfo*> claimed;
    for (const auto& line : lines)
        if (IsClaimed(*line, filter))
            claimed.push_back(line.get());
    return claimed;
}

ClaimSummary SummarizeListed(const EntryLines& lines, const std::vector<int>& listed)
{
    ClaimSummary summary;
    for (const int position : listed) {
        const EntryInfo& line = *lines[static_cast<std::size_t>(position)];
        if (line.applyFlag == 1 && CanApply(line)) {
            ++summary.lines;
            summary.total += line.fare;
        }
    }
    return summary;
}

std::int64_t ClaimedTotal(const std::vector<const EntryInfo*>& claimed)
{
    std::int64_t total = 0;
    for (const EntryInfo* line : claimed)
        total += line->fare;
    return total;
}
