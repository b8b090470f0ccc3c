#pragma once

#include <QString>
#include <cstdint>
#include <ctime>
#include <optional>

// Times are seconds since 1970-01-01 00:00 UTC, converted from the local calendar.

// Converts a local date and time with the C library's mktime, which carries a
// day beyond the month's length into the next month. Returns nothing when the
// month, day, hour or minute lies outside 1-12, 1-31, 0-23 or 0-59.
std::optional<std::int64_t> LocalToTimestamp(int year, int month, int day, int hour, int minute,
                                             int second);

// The current time.
std::int64_t CurrentTimestamp();

// The C library's local calendar, the same on every system (the per-OS
// parts are in unix/ and windows/).
// The local date and time of a timestamp; false when it has none.
bool ToLocalTime(std::int64_t time, std::tm& local);
// The zone's abbreviation (JST) and its offset east of UTC in minutes, for
// a local time ToLocalTime gave.
QString LocalZoneName(const std::tm& local);
long LocalZoneOffsetMinutes(const std::tm& local);
