#include "JapaneseCalendar.h"

#include <QBoxLayout>
#include <QToolButton>

JapaneseCalendar::JapaneseCalendar(QWidget* parent) : QCalendarWidget(parent)
{
    // Qt names the parts of its navigation bar; without them (another Qt)
    // the calendar stays as Qt has it.
    m_year = findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
    m_month = findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    auto* bar = findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"));
    auto* row = bar ? qobject_cast<QBoxLayout*>(bar->layout()) : nullptr;
    if (!m_year || !m_month || !row)
        return;
    const int month = row->indexOf(m_month);
    row->removeWidget(m_year);
    row->insertWidget(month, m_year);
    // Qt writes the year's number on every new page, before it says so.
    connect(this, &QCalendarWidget::currentPageChanged, this,
            [this](int year, int) { ShowYear(year); });
    ShowYear(yearShown());
}

void JapaneseCalendar::ShowYear(int year)
{
    if (m_year)
        m_year->setText(QStringLiteral("%1年").arg(year));
}

QString JapaneseCalendar::Heading() const
{
    auto* bar = findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"));
    if (!bar || !bar->layout())
        return QString();
    QStringList parts;
    for (int i = 0; i < bar->layout()->count(); ++i)
        if (auto* button = qobject_cast<QToolButton*>(bar->layout()->itemAt(i)->widget());
            button && !button->text().isEmpty())
            parts << button->text();
    return parts.join(QLatin1Char(' '));
}
