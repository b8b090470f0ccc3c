#include "RefusalNotice.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <functional>

RefusalNotice::RefusalNotice(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("notice"));
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette warning = palette();
    warning.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x20));
    setPalette(warning);
    setMinimumHeight(2 * fontMetrics().lineSpacing());
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    hide();
}

void RefusalNotice::Refused(const QLineEdit* field, const QString& refused,
                            const std::function<QString(const QString&)>& sentence)
{
    // Keys typed on past the limit are quoted together.
    m_refused = !isHidden() && m_field == field ? m_refused + refused : refused;
    m_field = field;
    setText(sentence(m_refused));
    show();
    QApplication::beep();
}

void RefusalNotice::Clear()
{
    m_field = nullptr;
    m_refused.clear();
    hide();
}
