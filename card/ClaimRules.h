#pragma once

#include "EntryInfo.h"

#include <QString>
#include <cstdint>
#include <limits>
#include <vector>

// Which lines a claim may hold. The history list, printing, the snapshot,
// the CSV export and the command line all ask here, so they agree on what is
// claimed.

// What the list shows, and so what a print takes: "全て表示" and the period.
struct ClaimFilter {
    // Unticked: only journeys with a fare (no charges, issues, purchases).
    bool showAll = true;
    // The period, local times [from, until); the whole history by default.
    std::int64_t from = std::numeric_limits<std::int64_t>::min();
    std::int64_t until = std::numeric_limits<std::int64_t>::max();

    bool operator==(const ClaimFilter&) const = default;
};

// Whether a record is a purchase: made at a shop or vending terminal, or a
// shop's process (物販, 物販取消, 入場物販, 現金併用物販, ...) at any
// terminal. The one rule that decoding, the list and the claim follow.
inline bool IsShopPurchase(std::uint8_t terminalType, std::uint8_t processType)
{
    switch (processType) {
    case 70:
    case 73:
    case 74:
    case 75:
    case 198:
    case 203:
        return true;
    default:
        return terminalType == 199 || terminalType == 200;
    }
}

// Whether a record issues the card (新規発行, 再発行).
inline bool IsCardIssue(std::uint8_t processType)
{
    return processType == 0x07 || processType == 0x11;
}

// Whether a record puts money on the card (a charge of any kind).
inline bool IsCharge(std::uint8_t processType)
{
    switch (processType) {
    case 0x02: // チャージ
    case 0x14: // 入場時オートチャージ
    case 0x15: // 出場時オートチャージ
    case 0x1F: // バスチャージ
    case 0x48: // 特典チャージ
    case 0x49: // 現金チャージ
        return true;
    default:
        return false;
    }
}

// Whether a line may carry the claim mark and be edited: a manual line or a
// fare paid, and neither an issue nor a purchase. Inline: totals ask it of
// every line.
inline bool CanApply(const EntryInfo& line)
{
    return (line.fare > 0 || line.IsManual()) && !IsCardIssue(line.processType) &&
           !IsShopPurchase(line.terminalType, line.processType);
}

// Whether a card line is a journey whose fare the card did not hold: the
// user may type it in, and then it is a fare like any other.
inline bool IsJourneyOfUnknownFare(const EntryInfo& line)
{
    return line.fareUnknown && !line.IsManual() && !IsCharge(line.processType) &&
           !IsCardIssue(line.processType) && !IsShopPurchase(line.terminalType, line.processType);
}

// Whether the entry dialog may open a line: one that may be claimed, or a
// journey whose fare is still to be typed in.
inline bool CanEdit(const EntryInfo& line)
{
    return CanApply(line) || IsJourneyOfUnknownFare(line);
}

// Why a line may not carry the claim mark (for ticking) or not be opened in
// the entry dialog (for editing), in the user's words; empty when it may.
enum class Refusal { Tick, Edit };
QString RefusalReason(const EntryInfo& line, Refusal what);

// Whether the history list shows a line: never a hidden one; with "全て表示"
// unticked only journeys with a fare; only lines of the period.
bool IsListed(const EntryInfo& line, const ClaimFilter& filter);

// Whether a line is part of the claim: listed, allowed by CanApply and marked.
bool IsClaimed(const EntryInfo& line, const ClaimFilter& filter);

// The positions of the lines a list shows, ascending.
std::vector<int> ListedPositions(const EntryLines& lines, const ClaimFilter& filter);

// The lines of a claim, in order: listed, allowed by CanApply and marked.
std::vector<const EntryInfo*> ClaimedLines(const EntryLines& lines, const ClaimFilter& filter = {});

// The sum of their fares, in 64 bits so no claim can overflow it.
std::int64_t ClaimedTotal(const std::vector<const EntryInfo*>& claimed);

// How many lines the claim holds and their total, without listing them.
struct ClaimSummary {
    std::size_t lines = 0;
    std::int64_t total = 0;
};
// Of lines already known to be listed (positions from ListedPositions).
ClaimSummary SummarizeListed(const EntryLines& lines, const std::vector<int>& listed);
