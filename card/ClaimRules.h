#pragma once

#include "EntryInfo.h"

#include <cstdint>
#include <vector>

// Which lines a claim may hold. The history list, printing and the command
// line all ask here, so they agree on what is claimed.

// Whether a line may carry the claim mark and be edited: a manual line or a
// fare paid, and neither an issue (process 0x07, 0x11) nor a shop purchase
// (terminal 0xC7, 0xC8).
bool CanApply(const EntryInfo& line);

// Whether the history list shows a line: never a hidden one; with "全て表示"
// unticked only journeys with a fare (no charges, issues, shop purchases).
bool IsListed(const EntryInfo& line, bool showAll);

// The lines of a claim, in order: listed, allowed by CanApply and marked.
std::vector<const EntryInfo*> ClaimedLines(const EntryLines& lines, bool showAll = true);

// The sum of their fares, in 64 bits so no claim can overflow it.
std::int64_t ClaimedTotal(const std::vector<const EntryInfo*>& claimed);
