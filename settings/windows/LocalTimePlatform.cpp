#include "LocalTime.h"

// The Windows C library keeps the zone in globals rather than in the tm.

bool ToLocalTime(std::int64_t time, std::tm& local)
{
    const std::time_t t = static_cast<std::time_t>(time);
    return localtime_s(&local, &t) == 0;
}

QString LocalZoneName(const std::tm& local)
{
    const char* name = _tzname[local.tm_isdst > 0 ? 1 : 0];
    return QString::fromLocal8Bit(name ? name : "");
}

long LocalZoneOffsetMinutes(const std::tm& local)
{
    return -(_timezone + (local.tm_isdst > 0 ? _dstbias : 0)) / 60;
}
