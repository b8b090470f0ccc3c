#pragma once

#include "ClaimRules.h"

#include <QDate>
#include <QString>
#include <optional>

// The months and date ranges a claim is made for, as the local-time bounds of
// a ClaimFilter. Dates are inclusive; a month runs from its first day to its
// last, whatever the year.
namespace ClaimPeriod
{
// From the first day (none: from the beginning) to the last (none: on).
ClaimFilter Between(std::optional<QDate> from, std::optional<QDate> to);
ClaimFilter Month(int year, int month);
// The month of a date, and the one before it.
ClaimFilter MonthOf(const QDate& day);
ClaimFilter MonthBefore(const QDate& day);

// "2026-11" and "2026-11-30", as the command line takes them.
std::optional<QDate> ParseMonth(const QString& text);
std::optional<QDate> ParseDate(const QString& text);
} // namespace ClaimPeriod
