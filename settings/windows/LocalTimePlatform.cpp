#include "LocalTime.h"

#include <windows.h>

// The Windows C library keeps the zone's offset in globals rather than in
// the tm.

bool ToLocalTime(std::int64_t time, std::tm& local)
{
    const std::time_t t = static_cast<std::time_t>(time);
    return localtime_s(&local, &t) == 0;
}

// The system's own name of the zone, as Windows programs show it.
QString LocalZoneName(const std::tm& local)
{
    TIME_ZONE_INFORMATION zone{};
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
        return QString();
    return QString::fromWCharArray(local.tm_isdst > 0 ? zone.DaylightName : zone.StandardName);
}

long LocalZoneOffsetMinutes(const std::tm& local)
{
    return -(_timezone + (local.tm_isdst > 0 ? _dstbias : 0)) / 60;
}
