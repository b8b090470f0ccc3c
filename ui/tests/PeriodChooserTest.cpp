#include "PeriodChooser.h"

#include "JapaneseCalendar.h"
#include "LocalTime.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QSignalSpy>
#include <gtest/gtest.h>

// Each choice gives its days; one setting is one change.
TEST(PeriodChooser, ChoicesGiveTheirDays)
{
    PeriodChooser chooser;
    chooser.SetToday([] { return QDate(2026, 1, 15); });
    QSignalSpy changed(&chooser, &PeriodChooser::Changed);
    const auto day = [](int y, int m, int d) { return *LocalToTimestamp(y, m, d, 0, 0, 0); };
    struct Case {
        PeriodChooser::Period period;
        QDate from, to;
        std::int64_t begins, ends;
    };
    const Case cases[] = {
        {PeriodChooser::Period::ThisMonth, {}, {}, day(2026, 1, 1), day(2026, 2, 1)},
        {PeriodChooser::Period::LastMonth, {}, {}, day(2025, 12, 1), day(2026, 1, 1)},
        {PeriodChooser::Period::Range, QDate(2025, 11, 5), QDate(2025, 11, 20), day(2025, 11, 5),
         day(2025, 11, 21)},
    };
    for (const Case& c : cases) {
        changed.clear();
        chooser.SetPeriod(c.period, c.from, c.to);
        EXPECT_EQ(changed.count(), 1);
        EXPECT_EQ(chooser.Filter().from, c.begins);
        EXPECT_EQ(chooser.Filter().until, c.ends);
    }
    chooser.SetPeriod(PeriodChooser::Period::All);
    EXPECT_EQ(chooser.Filter(), ClaimFilter());
    EXPECT_TRUE(chooser.FromEdit().isHidden());
    chooser.Box().setCurrentIndex(static_cast<int>(PeriodChooser::Period::Range));
    EXPECT_FALSE(chooser.FromEdit().isHidden());
}

// Dates typed the wrong way round are refused with a word; the list keeps
// its days until the dates make a period again.
TEST(PeriodChooser, DatesTheWrongWayRoundAreRefused)
{
    PeriodChooser chooser;
    chooser.show();
    chooser.SetPeriod(PeriodChooser::Period::Range, QDate(2025, 11, 5), QDate(2025, 11, 20));
    const ClaimFilter shown = chooser.Filter();
    QSignalSpy changed(&chooser, &PeriodChooser::Changed);
    EXPECT_TRUE(chooser.RefusedText().isHidden());

    chooser.ToEdit().setDate(QDate(2025, 11, 1));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(chooser.Filter(), shown);
    EXPECT_TRUE(chooser.RefusedText().isVisible());
    EXPECT_EQ(chooser.RefusedText().text(), PeriodChooser::RefusedMessage());

    chooser.FromEdit().setDate(QDate(2025, 10, 25));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(chooser.RefusedText().isVisible());
    EXPECT_EQ(chooser.Filter().from, *LocalToTimestamp(2025, 10, 25, 0, 0, 0));
}

// The date fields' calendar reads as a Japanese one: year, then month.
TEST(PeriodChooser, TheCalendarReadsYearThenMonth)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    PeriodChooser chooser;
    chooser.SetPeriod(PeriodChooser::Period::Range, QDate(2026, 11, 2), QDate(2026, 11, 30));
    auto* calendar = qobject_cast<JapaneseCalendar*>(chooser.FromEdit().calendarWidget());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->Heading(), "2026年 11月");
    calendar->showNextYear();
    EXPECT_EQ(calendar->Heading(), "2027年 11月");
    QLocale::setDefault(QLocale::system());
}
