#pragma once

#include <QString>
#include <ctime>

// strftime's conversions as the platform's C library gives them under the
// Japanese locale: %a 月, %A 月曜日, %b 5, %B 5月, %p 午前/午後, %x 2024/05/01,
// %#x 2024年5月1日, %X 9:03:07, %c both, and the numeric ones (%Y %y %m %d %H
// %I %M %S %j %w %U %W), "#" dropping leading zeros; %z and %Z name the zone.
// Unknown conversions stay as written. Never hands the format to strftime.
QString JapaneseStrftime(const QString& format, const std::tm& time);
