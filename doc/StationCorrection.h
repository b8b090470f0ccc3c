#pragma once

#include "EntryInfo.h"
#include "StationCode.h"
#include "StationNames.h"

#include <optional>
#include <vector>

// One code's correction as the user made it: the names to keep (none: the
// correction is taken back) and the database's names, which the lines take
// where the correction gives none (unknown when the database could not be
// asked: such lines then keep their names when a correction is taken back).
struct StationCorrection {
    StationCode code;
    std::optional<StationNames> names;
    std::optional<StationNames> database;
};

// The line with its places named as the corrections say: a correction over
// the database's names (the line's own where the database could not say),
// the database's names where a correction is taken back.
EntryInfo Corrected(const EntryInfo& line, const std::vector<StationCorrection>& corrections);
