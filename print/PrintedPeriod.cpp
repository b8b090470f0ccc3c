#include "PrintedPeriod.h"

#include "LocalTime.h"

#include <QDate>
#include <ctime>
#include <limits>
#include <optional>

namespace
{
std::optional<QDate> LocalDate(std::int64_t time)
{
    std::tm tm{};
    if (!ToLocalTime(time, tm))
        return std::nullopt;
    return QDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

QString JapaneseDate(const QDate& day)
{
    return QStringLiteral("%1年%2月%3日").arg(day.year()).arg(day.month()).arg(day.day());
}
} // namespace

namespace PrintedPeriod
{
QString Heading(const ClaimFilter& period, const std::vector<const EntryInfo*>& lines)
{
    std::optional<QDate> first;
    std::optional<QDate> last;
    if (period.from != std::numeric_limits<std::int64_t>::min())
        first = LocalDate(period.from);
    if (period.until != std::numeric_limits<std::int64_t>::max())
        last = LocalDate(period.until - 1);
    std::optional<QDate> earliest;
    std::optional<QDate> latest;
    for (const EntryInfo* line : lines) {
        const auto day = LocalDate(line->dateTime);
        if (!day)
            continue;
        earliest = earliest ? std::min(*earliest, *day) : *day;
        latest = latest ? std::max(*latest, *day) : *day;
    }
    if (!first)
        first = earliest;
    if (!last)
        last = latest;
    if (!first || !last)
        return QString();
    return QStringLiteral("対象期間 %1～%2").arg(JapaneseDate(*first), JapaneseDate(*last));
}

bool SpansYears(const std::vector<const EntryInfo*>& lines)
{
    std::optional<int> year;
    for (const EntryInfo* line : lines) {
        const auto day = LocalDate(line->dateTime);
        if (!day)
            continue;
        if (year && *year != day->year())
            return true;
        year = day->year();
    }
    return false;
}

} // namespace PrintedPeriod
