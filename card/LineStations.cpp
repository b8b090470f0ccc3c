#include "LineStations.h"

#include "HistoryCodes.h"

namespace
{
StationCode RailCode(std::uint8_t area, std::int32_t line, std::int32_t station)
{
    return StationCode::Rail(area, static_cast<std::uint8_t>(line),
                             static_cast<std::uint8_t>(station));
}
} // namespace

std::vector<LineStations::Place> LineStations::Of(const EntryInfo& line)
{
    if (line.IsManual())
        return {};
    switch (ClassifyForImport(line.terminalType, line.processType)) {
    case ImportClass::Bus:
        return {{Side::Exit, StationCode::Bus(line.exitLine, line.exitStation)}};
    case ImportClass::Shop:
        return {};
    case ImportClass::Rail:
        break;
    }
    std::vector<Place> places;
    if (line.entryLine != 0)
        places.push_back(
            {Side::Entry, RailCode(line.entryArea, line.entryLine, line.entryStation)});
    if (line.exitLine != 0)
        places.push_back({Side::Exit, RailCode(line.exitArea, line.exitLine, line.exitStation)});
    return places;
}

StationNames LineStations::NamesAt(const EntryInfo& line, Side side)
{
    if (side == Side::Entry)
        return {line.entryStationName, line.entryLineName, line.entryCompanyName};
    return {line.exitStationName, line.exitLineName, line.exitCompanyName};
}

void LineStations::Name(EntryInfo& line, Side side, const StationNames& names)
{
    if (side == Side::Entry) {
        line.entryStationName = names.station;
        line.entryLineName = names.line;
        line.entryCompanyName = names.company;
    } else {
        line.exitStationName = names.station;
        line.exitLineName = names.line;
        line.exitCompanyName = names.company;
    }
}
