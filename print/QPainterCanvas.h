#pragma once

#include "PageCanvas.h"

class QFont;
class QPainter;

// PageCanvas on a QPainter whose device has the given resolution.
class QPainterCanvas : public PageCanvas
{
public:
    QPainterCanvas(QPainter& painter, double dotsPerInch);

    void Line(const CanvasPen& pen, CanvasPoint from, CanvasPoint to) override;
    void Text(const CanvasFont& font, CanvasPoint topLeft, const QString& text) override;
    void TextInRect(const CanvasFont& font, const CanvasRect& rect, int flags,
                    const QString& text) override;
    CanvasSize Measure(const CanvasFont& font, const QString& text) override;

private:
    QFont MakeFont(const CanvasFont& font) const;
    double Device(int tenthsOfMm) const { return tenthsOfMm * m_scale; }

    QPainter& m_painter;
    double m_scale; // device pixels per 0.1 mm
};
