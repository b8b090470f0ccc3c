#include "ClaimRules.h"

#include <algorithm>

namespace
{
// Not hidden, and of the period.
bool InPeriod(const EntryInfo& line, const ClaimFilter& filter)
{
    return line.hidden != 1 && line.dateTime >= filter.from && line.dateTime < filter.until;
}

// What a list without "全て表示" shows: journeys with a fare, or whose fare
// is still to be typed in.
bool IsJourneyWithFare(const EntryInfo& line)
{
    if (IsJourneyOfUnknownFare(line))
        return true;
    // A point charge (特典チャージ, 0x48) is no journey either.
    return line.fare > 0 && !IsCardIssue(line.processType) && line.processType != 0x48 &&
           !IsShopPurchase(line.terminalType, line.processType);
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

QString RefusalReason(const EntryInfo& line, Refusal what)
{
    if (what == Refusal::Tick ? CanApply(line) : CanEdit(line))
        return QString();
    if (IsJourneyOfUnknownFare(line))
        return QStringLiteral("この利用の運賃はカードに残っていないため、まだ申請できません。"
                              "Enter（項目編集）で運賃を入力すると申請できます。");
    const QString verb =
        what == Refusal::Tick ? QStringLiteral("申請できません") : QStringLiteral("編集できません");
    if (IsCardIssue(line.processType))
        return QStringLiteral("カードの発行の明細は%1。").arg(verb);
    if (IsShopPurchase(line.terminalType, line.processType))
        return QStringLiteral("物販の明細は%1。").arg(verb);
    if (line.fare < 0 || IsCharge(line.processType))
        return QStringLiteral("チャージ（入金）の明細は%1。").arg(verb);
    return QStringLiteral("運賃が 0 円の明細は%1。").arg(verb);
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
