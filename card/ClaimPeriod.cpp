#include "ClaimPeriod.h"

#include "LocalTime.h"

#include <QRegularExpression>

namespace
{
// Local midnight at the start of a day.
std::int64_t StartOf(const QDate& day)
{
    return LocalToTimestamp(day.year(), day.month(), day.day(), 0, 0, 0).value_or(0);
}
} // namespace

namespace ClaimPeriod
{
ClaimFilter Between(std::optional<QDate> from, std::optional<QDate> to)
{
    ClaimFilter filter;
    if (from && from->isValid())
        filter.from = StartOf(*from);
    if (to && to->isValid())
        filter.until = StartOf(to->addDays(1));
    return filter;
}

ClaimFilter Month(int year, int month)
{
    const QDate first(year, month, 1);
    return Between(first, first.addMonths(1).addDays(-1));
}

ClaimFilter MonthOf(const QDate& day)
{
    return Month(day.year(), day.month());
}

ClaimFilter MonthBefore(const QDate& day)
{
    return MonthOf(QDate(day.year(), day.month(), 1).addMonths(-1));
}

std::optional<QDate> ParseMonth(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{2})$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate first(match.captured(1).toInt(), match.captured(2).toInt(), 1);
    return first.isValid() ? std::optional<QDate>(first) : std::nullopt;
}

std::optional<QDate> ParseDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}
} // namespace ClaimPeriod
