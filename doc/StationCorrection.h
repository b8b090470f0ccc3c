#pragma once

#include "StationCode.h"
#include "StationNames.h"

#include <optional>

// One code's correction as the user made it: the names to keep (none: the
// correction is taken back) and the database's names, which the lines take
// where the correction gives none (unknown when the database could not be
// asked: such lines then keep their names when a correction is taken back).
struct StationCorrection {
    StationCode code;
    std::optional<StationNames> names;
    std::optional<StationNames> database;
};
