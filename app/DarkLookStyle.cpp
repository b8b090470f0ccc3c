#include "DarkLookStyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

DarkLookStyle::DarkLookStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void DarkLookStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const
{
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element != PE_IndicatorCheckBox && element != PE_IndicatorItemViewItemCheck)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(option->palette.color(QPalette::Light), 1));
    painter->drawRect(option->rect.adjusted(1, 1, -2, -2));
    painter->restore();
}

int DarkLookStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const
{
    if (hint == SH_Table_GridLineColor && option)
        return static_cast<int>(option->palette.color(QPalette::Mid).rgba());
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
