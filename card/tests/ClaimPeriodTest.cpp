#include "ClaimPeriod.h"

#include "LocalTime.h"

#include <gtest/gtest.h>

namespace
{
EntryInfo On(int year, int month, int day, int hour = 0, int minute = 0)
{
    EntryInfo line;
    line.dateTime = *LocalToTimestamp(year, month, day, hour, minute, 0);
    return line;
}
} // namespace

TEST(ClaimPeriod, MonthsEndOnTheirLastDayAcrossYears)
{
    struct Case {
        const char* name;
        ClaimFilter period;
        EntryInfo line;
        bool inside;
    };
    const Case cases[] = {
        {"first minute of the month", ClaimPeriod::Month(2026, 11), On(2026, 11, 1), true},
        {"last minute of the month", ClaimPeriod::Month(2026, 11), On(2026, 11, 30, 23, 59), true},
        {"the month after", ClaimPeriod::Month(2026, 11), On(2026, 12, 1), false},
        {"the evening before", ClaimPeriod::Month(2026, 11), On(2026, 10, 31, 23, 59), false},
        {"leap February's 29th", ClaimPeriod::Month(2028, 2), On(2028, 2, 29, 22, 0), true},
        {"December into January", ClaimPeriod::Month(2026, 12), On(2027, 1, 1), false},
        {"December's last day", ClaimPeriod::Month(2026, 12), On(2026, 12, 31, 23, 0), true},
        {"last month from January", ClaimPeriod::MonthBefore(QDate(2027, 1, 15)), On(2026, 12, 24),
         true},
        {"last month from March 31st", ClaimPeriod::MonthBefore(QDate(2027, 3, 31)),
         On(2027, 2, 28, 20, 0), true},
        {"this month", ClaimPeriod::MonthOf(QDate(2027, 1, 15)), On(2027, 1, 31), true},
        {"range: the last day is inside",
         ClaimPeriod::Between(QDate(2026, 11, 5), QDate(2026, 11, 9)), On(2026, 11, 9, 23, 59),
         true},
        {"range: the day after", ClaimPeriod::Between(QDate(2026, 11, 5), QDate(2026, 11, 9)),
         On(2026, 11, 10), false},
        {"open start", ClaimPeriod::Between(std::nullopt, QDate(2026, 11, 9)), On(2001, 1, 1),
         true},
        {"open end", ClaimPeriod::Between(QDate(2026, 11, 5), std::nullopt), On(2035, 1, 1), true},
        {"open end, before", ClaimPeriod::Between(QDate(2026, 11, 5), std::nullopt),
         On(2026, 11, 4, 23, 59), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsListed(c.line, c.period), c.inside) << c.name;
}

TEST(ClaimPeriod, CommandLineForms)
{
    EXPECT_EQ(ClaimPeriod::ParseMonth("2026-11"), QDate(2026, 11, 1));
    EXPECT_EQ(ClaimPeriod::ParseDate("2028-02-29"), QDate(2028, 2, 29));
    for (const char* bad : {"2026-13", "2026-1", "26-11", "2026/11", "2026-11-01", ""})
        EXPECT_FALSE(ClaimPeriod::ParseMonth(bad)) << bad;
    for (const char* bad : {"2026-02-30", "2026-11-1", "2026/11/01", "2026-11", "x"})
        EXPECT_FALSE(ClaimPeriod::ParseDate(bad)) << bad;
}
