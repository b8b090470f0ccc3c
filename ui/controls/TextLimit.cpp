#include "TextLimit.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

TextLimit::TextLimit(QLineEdit& edit, int limit, QWidget* counterParent)
    : QObject(&edit), m_edit(edit), m_limit(limit), m_current(edit.text()), m_before(m_current)
{
    // A maximum length would cut a pasted or composed text without a word.
    m_edit.setMaxLength(32767);
    if (counterParent) {
        m_counter = new QLabel(counterParent);
        m_counter->setObjectName(QStringLiteral("counter"));
        m_counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // As wide as the widest count, so nothing moves while typing.
        m_counter->setMinimumWidth(m_counter->fontMetrics().horizontalAdvance(
            QStringLiteral("%1/%1").arg(limit * 10 + 9)));
        QSizePolicy policy = m_counter->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        m_counter->setSizePolicy(policy);
    }
    // textChanged comes for every change, textEdited also for the user's.
    // A change taken back inside textEdited is still announced afterwards
    // with its old text: the field's own text is the truth.
    connect(&m_edit, &QLineEdit::textChanged, this, [this] {
        if (m_edit.text() == m_current)
            return;
        m_before = m_current;
        m_current = m_edit.text();
        ShowCount();
    });
    connect(&m_edit, &QLineEdit::textEdited, this, &TextLimit::CheckEdit);
    connect(qApp, &QApplication::focusChanged, this, &TextLimit::ShowCount);
    m_edit.installEventFilter(this);
    ShowCount();
}

int TextLimit::Length(const QString& text)
{
    int length = 0;
    for (const QChar c : text)
        if (!c.isLowSurrogate())
            ++length;
    return length;
}

QString TextLimit::Inserted(const QString& before, const QString& after)
{
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    // Whole characters: never half of a surrogate pair.
    if (head > 0 && after[head - 1].isHighSurrogate())
        --head;
    if (tail > 0 && after[after.size() - tail].isLowSurrogate())
        --tail;
    return after.mid(head, after.size() - head - tail);
}

void TextLimit::CheckEdit(const QString& text)
{
    // The text before this edit, whichever of the two signals came first.
    const QString before = m_current == text ? m_before : m_current;
    if (text == before)
        return; // an input method's composing changes no text
    const int length = Length(text);
    if (length <= m_limit || length <= Length(before)) {
        Q_EMIT Accepted();
        return;
    }
    const int cursor = m_edit.cursorPosition() - static_cast<int>(text.size() - before.size());
    m_edit.setText(before);
    m_edit.setCursorPosition(std::max(0, cursor));
    Q_EMIT Refused(Inserted(before, text));
}

bool TextLimit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_edit && event->type() == QEvent::EnabledChange)
        ShowCount();
    return QObject::eventFilter(watched, event);
}

bool TextLimit::HasFocus() const
{
    const QWidget* focus = QApplication::focusWidget();
    if (focus == &m_edit)
        return true;
    // An editable combo box holds the focus for its line edit.
    return focus && focus == m_edit.parentWidget() && qobject_cast<const QComboBox*>(focus);
}

void TextLimit::ShowCount()
{
    if (!m_counter)
        return;
    const int length = Length(m_current);
    const bool full = length >= m_limit;
    m_counter->setText(QStringLiteral("%1/%2").arg(length).arg(m_limit));
    QPalette palette = m_counter->palette();
    palette.setColor(QPalette::WindowText, full
                                               ? QColor(0xB0, 0x00, 0x20)
                                               : m_edit.palette().color(QPalette::PlaceholderText));
    m_counter->setPalette(palette);
    m_counter->setVisible(m_edit.isEnabled() && (full || HasFocus()));
}
