#include "CEditEx.h"

#include <QKeyEvent>

CEditEx::CEditEx(Mode mode, QWidget* parent) : QLineEdit(parent), m_mode(mode) {}

bool CEditEx::Accepts(Mode mode, QChar c, int selectionStart)
{
    const char16_t u = c.unicode();
    switch (mode) {
    case Mode::Any:
        return true;
    case Mode::PrintableAscii:
        return u >= 0x20 && u <= 0x7F;
    case Mode::FileName:
        return !QStringLiteral("\"*/:<>?|").contains(c);
    case Mode::Digits:
        return u >= u'0' && u <= u'9';
    case Mode::SignedDigits:
        return (u >= u'0' && u <= u'9') || (u == u'-' && selectionStart == 0);
    }
    return false;
}

void CEditEx::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    // Keys that type a character go through the filter; the rest (Backspace,
    // arrows, shortcuts such as Ctrl+V) are left alone.
    const bool typed = !text.isEmpty() && text[0].isPrint() &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typed) {
        const int start = hasSelectedText() ? selectionStart() : cursorPosition();
        for (QChar c : text) {
            if (!Accepts(m_mode, c, start)) {
                if (m_refused)
                    m_refused(text);
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}
