#include "LocalTime.h"

bool ToLocalTime(std::int64_t time, std::tm& local)
{
    const std::time_t t = static_cast<std::time_t>(time);
    return localtime_r(&t, &local) != nullptr;
}

QString LocalZoneName(const std::tm& local)
{
    return QString::fromLocal8Bit(local.tm_zone ? local.tm_zone : "");
}

long LocalZoneOffsetMinutes(const std::tm& local)
{
    return local.tm_gmtoff / 60;
}
