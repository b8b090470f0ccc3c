#pragma once

#include "ClaimRules.h"

#include <optional>

class CommandLine;

// The period of show, csv and print: --month YYYY-MM, or --from YYYY-MM-DD
// and/or --to YYYY-MM-DD (inclusive); the whole history without them.
// Nothing when the options are malformed or --month comes with a range.
std::optional<ClaimFilter> PeriodOption(const CommandLine& line);
