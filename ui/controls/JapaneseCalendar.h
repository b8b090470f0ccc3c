#pragma once

#include <QCalendarWidget>

class QToolButton;

// The date fields' calendar as a Japanese calendar reads: "2026年 11月",
// the year before the month (Qt's own reads "11月 2026").
class JapaneseCalendar : public QCalendarWidget
{
    Q_OBJECT

public:
    explicit JapaneseCalendar(QWidget* parent = nullptr);

    // The year and month as the navigation bar shows them, left to right.
    QString Heading() const;

private:
    void ShowYear(int year);

    QToolButton* m_year = nullptr;
    QToolButton* m_month = nullptr;
};
