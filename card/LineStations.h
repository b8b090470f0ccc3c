#pragma once

#include "EntryInfo.h"
#include "StationCode.h"
#include "StationNames.h"

#include <vector>

// The places a card line names by code, as a read names them: a rail line
// its entry and exit stations (where the card recorded a line), a bus line
// its stop. Shop lines and lines made by hand name none.
namespace LineStations
{
enum class Side { Entry, Exit };

struct Place {
    Side side;
    StationCode code;
};

std::vector<Place> Of(const EntryInfo& line);
StationNames NamesAt(const EntryInfo& line, Side side);
void Name(EntryInfo& line, Side side, const StationNames& names);
} // namespace LineStations
