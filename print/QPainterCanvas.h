#pragma once

#include "PageCanvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <map>
#include <tuple>

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
    // A font made for the device, its metrics and the sizes of the texts
    // measured with it.
    struct MadeFont {
        QFont font;
        QFontMetricsF metrics;
        QHash<QString, CanvasSize> sizes;
    };
    MadeFont& MakeFont(const CanvasFont& font);
    double Device(int tenthsOfMm) const { return tenthsOfMm * m_scale; }

    QPainter& m_painter;
    double m_scale; // device pixels per 0.1 mm
    // The fonts made so far: fitting a text measures it at many sizes.
    std::map<std::tuple<int, int, bool, bool, bool, QString>, MadeFont> m_fonts;
};
