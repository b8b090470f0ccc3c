#pragma once

#include "ClaimRules.h"

#include <QDate>
#include <QWidget>
#include <functional>

class QComboBox;
class QDateEdit;
class QHBoxLayout;
class QLabel;

// "期間": the month or days whose lines the list shows: 全期間, 今月, 先月 or
// 期間指定 with two dates (those fields are made when first needed: date
// fields are slow to build, and most months are claimed as 今月 or 先月).
// Dates the wrong way round are refused with a word beside them; the list
// keeps the days it showed until they make a period again.
class PeriodChooser : public QWidget
{
    Q_OBJECT

public:
    enum class Period { All, ThisMonth, LastMonth, Range };

    explicit PeriodChooser(QWidget* parent = nullptr);

    void SetPeriod(Period period, const QDate& from = {}, const QDate& to = {});
    Period Current() const;
    // What "今月" means; today by default.
    void SetToday(std::function<QDate()> today) { m_today = std::move(today); }
    // The chosen days as a filter (showAll left at its default).
    ClaimFilter Filter() const;

    QComboBox& Box() const { return *m_period; }
    QDateEdit& FromEdit();
    QDateEdit& ToEdit();
    // Beside the dates while they are the wrong way round.
    QLabel& RefusedText();
    static QString RefusedMessage();

Q_SIGNALS:
    void Changed();

private:
    void EnsureDateEdits();
    void ShowDates(bool shown);
    // Takes the two dates as the period when they are one; false otherwise.
    bool TakeRange();

    std::function<QDate()> m_today;
    QHBoxLayout* m_row = nullptr;
    QComboBox* m_period = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QLabel* m_dash = nullptr;
    QLabel* m_refused = nullptr;
    ClaimFilter m_range;
};
