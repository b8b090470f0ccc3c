#include "PeriodOption.h"

#include "ClaimPeriod.h"
#include "CommandLine.h"

std::optional<ClaimFilter> PeriodOption(const CommandLine& line)
{
    const auto month = line.Option(QStringLiteral("--month"));
    const auto from = line.Option(QStringLiteral("--from"));
    const auto to = line.Option(QStringLiteral("--to"));
    if (month) {
        const auto first = ClaimPeriod::ParseMonth(*month);
        if (!first || from || to)
            return std::nullopt;
        return ClaimPeriod::MonthOf(*first);
    }
    std::optional<QDate> fromDate;
    std::optional<QDate> toDate;
    if (from && !(fromDate = ClaimPeriod::ParseDate(*from)))
        return std::nullopt;
    if (to && !(toDate = ClaimPeriod::ParseDate(*to)))
        return std::nullopt;
    if (fromDate && toDate && *toDate < *fromDate)
        return std::nullopt;
    return ClaimPeriod::Between(fromDate, toDate);
}
