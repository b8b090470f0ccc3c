#include "StationCode.h"

bool StationCode::IsValid() const
{
    if (IsBus())
        return area == 0;
    const auto byte = [](std::int32_t value) { return value >= 0 && value <= 255; };
    return byte(area) && byte(line) && byte(station);
}

QString StationCode::Text() const
{
    if (IsBus())
        return QStringLiteral("バス路線 %1　停留所 %2").arg(line).arg(station);
    return QStringLiteral("エリア %1　路線 %2　駅 %3").arg(area).arg(line).arg(station);
}
