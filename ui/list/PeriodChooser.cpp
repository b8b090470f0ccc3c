#include "PeriodChooser.h"

#include "ClaimPeriod.h"
#include "JapaneseCalendar.h"

#include <QColor>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>

PeriodChooser::PeriodChooser(QWidget* parent)
    : QWidget(parent), m_today([] { return QDate::currentDate(); })
{
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("期間(&P)"), this);
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("period"));
    m_period->addItems({QStringLiteral("全期間"), QStringLiteral("今月"), QStringLiteral("先月"),
                        QStringLiteral("期間指定")});
    caption->setBuddy(m_period);
    setFocusProxy(m_period);
    connect(m_period, &QComboBox::currentIndexChanged, this, [this](int index) {
        const bool range = index == static_cast<int>(Period::Range);
        if (range)
            EnsureDateEdits();
        ShowDates(range);
        Q_EMIT Changed();
    });
    m_row->addWidget(caption);
    m_row->addWidget(m_period);
}

void PeriodChooser::ShowDates(bool shown)
{
    if (!m_from)
        return;
    for (QWidget* widget : {static_cast<QWidget*>(m_from), static_cast<QWidget*>(m_dash),
                            static_cast<QWidget*>(m_to)})
        widget->setVisible(shown);
    m_refused->setVisible(shown && m_from->date() > m_to->date());
}

QString PeriodChooser::RefusedMessage()
{
    return QStringLiteral("開始日が終了日より後です（期間は変えていません）");
}

bool PeriodChooser::TakeRange()
{
    const bool inOrder = m_from->date() <= m_to->date();
    m_refused->setVisible(inOrder ? false : Current() == Period::Range);
    if (inOrder)
        m_range = ClaimPeriod::Between(m_from->date(), m_to->date());
    return inOrder;
}

void PeriodChooser::EnsureDateEdits()
{
    if (m_from)
        return;
    const auto makeDate = [this](const char* name, const QDate& day) {
        auto* edit = new QDateEdit(day, this);
        edit->setObjectName(QLatin1String(name));
        edit->setCalendarPopup(true);
        edit->setCalendarWidget(new JapaneseCalendar(edit));
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        connect(edit, &QDateEdit::dateChanged, this, [this] {
            if (TakeRange())
                Q_EMIT Changed();
        });
        return edit;
    };
    // From the first of last month to today: what a monthly claim is for.
    const QDate today = m_today();
    m_from = makeDate("periodFrom", QDate(today.year(), today.month(), 1).addMonths(-1));
    m_to = makeDate("periodTo", today);
    m_dash = new QLabel(QStringLiteral("～"), this);
    m_refused = new QLabel(RefusedMessage(), this);
    m_refused->setObjectName(QStringLiteral("periodRefused"));
    QPalette warning = m_refused->palette();
    warning.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x20));
    m_refused->setPalette(warning);
    m_row->addWidget(m_from);
    m_row->addWidget(m_dash);
    m_row->addWidget(m_to);
    m_row->addWidget(m_refused);
    TakeRange();
    ShowDates(Current() == Period::Range);
    QWidget::setTabOrder(m_period, m_from);
    QWidget::setTabOrder(m_from, m_to);
}

QDateEdit& PeriodChooser::FromEdit()
{
    EnsureDateEdits();
    return *m_from;
}

QDateEdit& PeriodChooser::ToEdit()
{
    EnsureDateEdits();
    return *m_to;
}

QLabel& PeriodChooser::RefusedText()
{
    EnsureDateEdits();
    return *m_refused;
}

void PeriodChooser::SetPeriod(Period period, const QDate& from, const QDate& to)
{
    if (from.isValid() || to.isValid() || period == Period::Range)
        EnsureDateEdits();
    {
        // One change for the whole setting, not one per field.
        const QSignalBlocker quiet(this);
        if (from.isValid())
            m_from->setDate(from);
        if (to.isValid())
            m_to->setDate(to);
        m_period->setCurrentIndex(static_cast<int>(period));
    }
    if (m_from)
        TakeRange();
    Q_EMIT Changed();
}

PeriodChooser::Period PeriodChooser::Current() const
{
    return static_cast<Period>(m_period->currentIndex());
}

ClaimFilter PeriodChooser::Filter() const
{
    switch (Current()) {
    case Period::ThisMonth:
        return ClaimPeriod::MonthOf(m_today());
    case Period::LastMonth:
        return ClaimPeriod::MonthBefore(m_today());
    case Period::Range:
        return m_from ? m_range : ClaimFilter();
    default:
        return {};
    }
}
