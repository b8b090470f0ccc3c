#pragma once

#include <QString>
#include <compare>
#include <cstdint>

// The code a card records for a place: a rail station (area, line, station,
// each 0-255) or a bus stop (bus line, stop).
struct StationCode {
    enum class Kind { Rail, Bus };

    Kind kind = Kind::Rail;
    std::int32_t area = 0; // rail only
    std::int32_t line = 0;
    std::int32_t station = 0; // the stop of a bus line

    static StationCode Rail(std::int32_t area, std::int32_t line, std::int32_t station)
    {
        return {Kind::Rail, area, line, station};
    }
    static StationCode Bus(std::int32_t busLine, std::int32_t stop)
    {
        return {Kind::Bus, 0, busLine, stop};
    }
    bool IsBus() const { return kind == Kind::Bus; }
    // Whether the numbers fit the kind.
    bool IsValid() const;
    // "エリア 0　路線 37　駅 12", "バス路線 291　停留所 69".
    QString Text() const;

    auto operator<=>(const StationCode&) const = default;
};
