#include "StationCorrection.h"

#include "LineStations.h"

#include <algorithm>

EntryInfo Corrected(const EntryInfo& line, const std::vector<StationCorrection>& corrections)
{
    EntryInfo corrected = line;
    for (const LineStations::Place& place : LineStations::Of(line)) {
        const auto correction =
            std::find_if(corrections.begin(), corrections.end(),
                         [&](const StationCorrection& c) { return c.code == place.code; });
        if (correction == corrections.end())
            continue;
        const StationNames base =
            correction->database.value_or(LineStations::NamesAt(line, place.side));
        LineStations::Name(corrected, place.side,
                           correction->names ? correction->names->Over(base) : base);
    }
    return corrected;
}
