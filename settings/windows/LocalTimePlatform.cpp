#include "LocalTime.h"

// The Windows C library keeps the zone in globals rather than in the tm.

bool ToLocalTime(std::int64_t time, std::tm& local)
{
    const std::time_t t = static_cast<std::time_t>(time);
    return localtime_s(&local, &t) == 0;
}

QString LocalZoneName(const std::tm& local)
{
    char name[64] = {};
    std::size_t length = 0;
    if (_get_tzname(&length, name, sizeof name, local.tm_isdst > 0 ? 1 : 0) != 0)
        return QString();
    return QString::fromLocal8Bit(name);
}

long LocalZoneOffsetMinutes(const std::tm& local)
{
    long west = 0;
    long daylight = 0;
    _get_timezone(&west);
    _get_dstbias(&daylight);
    return -(west + (local.tm_isdst > 0 ? daylight : 0)) / 60;
}
