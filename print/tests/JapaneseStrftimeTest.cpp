#include "JapaneseStrftime.h"

#include "LocalTime.h"
#include "PrintJob.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

TEST(JapaneseStrftime, ConversionsUnderTheJapaneseLocale)
{
    const std::int64_t wednesday = *LocalToTimestamp(2024, 5, 1, 9, 3, 7);
    const std::int64_t sunday = *LocalToTimestamp(2025, 11, 2, 21, 5, 0);
    const struct {
        const char* format;
        std::int64_t time;
        const char* text;
    } cases[] = {
        {"%#m/%#d(%a)", sunday, "11/2(日)"},
        {"%A", wednesday, "水曜日"},
        {"%b|%B|%h", sunday, "11|11月|11"},
        {"%x", wednesday, "2024/05/01"},
        {"%#x", wednesday, "2024年5月1日"},
        {"%X", wednesday, "9:03:07"},
        {"%c", sunday, "2025/11/02 21:05:00"},
        {"%I:%M %p", sunday, "09:05 午後"},
        {"%#I %p", wednesday, "9 午前"},
        {"%j %#j", wednesday, "122 122"},
        {"%j", *LocalToTimestamp(2024, 1, 5, 0, 0, 0), "005"},
        {"%U %W %w", wednesday, "17 18 3"},
        {"%U %W %w", sunday, "44 43 0"},
        {"%y %#y", *LocalToTimestamp(2009, 3, 1, 0, 0, 0), "09 9"},
        {"%z", wednesday, "+0900"},
        {"100%% %q %", wednesday, "100% %q %"},
        {"%#", wednesday, "%#"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrintJob::FormatEraDate(QString::fromUtf8(c.format), c.time),
                  QString::fromUtf8(c.text))
            << c.format;
    EXPECT_EQ(PrintJob::FormatEraDate("%Z", wednesday), TokyoZoneName());
}
