#pragma once

#include "ClaimRules.h"
#include "EntryInfo.h"

#include <QString>
#include <vector>

// The days a printed claim is for, as the form names them.
namespace PrintedPeriod
{
// "対象期間 2026年11月1日～2026年11月30日": the period's first and last day,
// an open end the printed lines' first or last day; empty without either.
QString Heading(const ClaimFilter& period, const std::vector<const EntryInfo*>& lines);
// Whether the lines' days fall in more than one calendar year.
bool SpansYears(const std::vector<const EntryInfo*>& lines);
} // namespace PrintedPeriod
