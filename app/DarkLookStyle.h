#pragma once

#include <QProxyStyle>

// Fusion for the dark look, with the edges a dark list needs: Fusion draws
// check boxes and grid lines a shade darker than the window, which vanishes
// on dark colours, so an unticked line would show no box at all.
class DarkLookStyle : public QProxyStyle
{
public:
    DarkLookStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
