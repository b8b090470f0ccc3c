#include "JapaneseStrftime.h"

#include "LocalTime.h"

#include <array>

namespace
{
constexpr std::array<const char16_t*, 7> kWeekdays = {u"日", u"月", u"火", u"水",
                                                      u"木", u"金", u"土"};

QString Number(int value, int width, bool noZero)
{
    return noZero ? QString::number(value)
                  : QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

int Hour12(const std::tm& t)
{
    const int hour = t.tm_hour % 12;
    return hour == 0 ? 12 : hour;
}

// Week of the year, the first week starting on the given weekday (0 Sunday).
int WeekNumber(const std::tm& t, int firstDay)
{
    const int weekday = (t.tm_wday - firstDay + 7) % 7;
    return (t.tm_yday + 7 - weekday) / 7;
}

QString ShortDate(const std::tm& t)
{
    return QStringLiteral("%1/%2/%3")
        .arg(t.tm_year + 1900)
        .arg(t.tm_mon + 1, 2, 10, QLatin1Char('0'))
        .arg(t.tm_mday, 2, 10, QLatin1Char('0'));
}

QString LongDate(const std::tm& t)
{
    return QStringLiteral("%1年%2月%3日").arg(t.tm_year + 1900).arg(t.tm_mon + 1).arg(t.tm_mday);
}

QString Time(const std::tm& t)
{
    return QStringLiteral("%1:%2:%3")
        .arg(t.tm_hour)
        .arg(t.tm_min, 2, 10, QLatin1Char('0'))
        .arg(t.tm_sec, 2, 10, QLatin1Char('0'));
}

QString Zone(const std::tm& t, bool name)
{
    if (name)
        return LocalZoneName(t);
    const long offset = LocalZoneOffsetMinutes(t);
    return QStringLiteral("%1%2%3")
        .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(std::labs(offset) / 60, 2, 10, QLatin1Char('0'))
        .arg(std::labs(offset) % 60, 2, 10, QLatin1Char('0'));
}

// One conversion; a null text when the character names none.
QString Convert(QChar c, bool alternate, const std::tm& t)
{
    switch (c.unicode()) {
    case 'a':
        return QString::fromUtf16(kWeekdays[static_cast<std::size_t>(t.tm_wday % 7)]);
    case 'A':
        return QString::fromUtf16(kWeekdays[static_cast<std::size_t>(t.tm_wday % 7)]) +
               QStringLiteral("曜日");
    case 'b':
    case 'h':
        return QString::number(t.tm_mon + 1);
    case 'B':
        return QStringLiteral("%1月").arg(t.tm_mon + 1);
    case 'c':
        return (alternate ? LongDate(t) : ShortDate(t)) + QLatin1Char(' ') + Time(t);
    case 'x':
        return alternate ? LongDate(t) : ShortDate(t);
    case 'X':
        return Time(t);
    case 'p':
        return t.tm_hour < 12 ? QStringLiteral("午前") : QStringLiteral("午後");
    case 'Y':
        return QString::number(t.tm_year + 1900);
    case 'y':
        return Number((t.tm_year + 1900) % 100, 2, alternate);
    case 'm':
        return Number(t.tm_mon + 1, 2, alternate);
    case 'd':
        return Number(t.tm_mday, 2, alternate);
    case 'H':
        return Number(t.tm_hour, 2, alternate);
    case 'I':
        return Number(Hour12(t), 2, alternate);
    case 'M':
        return Number(t.tm_min, 2, alternate);
    case 'S':
        return Number(t.tm_sec, 2, alternate);
    case 'j':
        return Number(t.tm_yday + 1, 3, alternate);
    case 'w':
        return QString::number(t.tm_wday);
    case 'U':
        return Number(WeekNumber(t, 0), 2, alternate);
    case 'W':
        return Number(WeekNumber(t, 1), 2, alternate);
    case 'z':
        return Zone(t, false);
    case 'Z':
        return Zone(t, true);
    case '%':
        return QStringLiteral("%");
    default:
        return QString();
    }
}
} // namespace

QString JapaneseStrftime(const QString& format, const std::tm& time)
{
    QString out;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('%') || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        qsizetype j = i + 1;
        const bool alternate = format[j] == QLatin1Char('#') && j + 1 < format.size();
        if (alternate)
            ++j;
        const QString converted = Convert(format[j], alternate, time);
        out += converted.isNull() ? format.mid(i, j - i + 1) : converted;
        i = j;
    }
    return out;
}
