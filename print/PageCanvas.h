#pragma once

#include <QString>

// Where a printed page is drawn, in 0.1 mm from the printable area's top-left
// corner, y downwards. Implemented on QPainter (printer, PDF, image) and by a
// recorder in the tests.
// The cell height of a font whose height is given as 0: 12 points.
constexpr int kDefaultFontHeight = 42;

struct CanvasFont {
    QString face;
    int height = 0; // cell height, 0.1 mm; negative: character height
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const CanvasFont&) const = default;
};

struct CanvasPen {
    int style = 0; // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none
    int width = 0; // 0.1 mm, for the solid style
    bool operator==(const CanvasPen&) const = default;
};

struct CanvasPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CanvasPoint&) const = default;
};

struct CanvasRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const CanvasRect&) const = default;
};

struct CanvasSize {
    int width = 0;
    int height = 0;
};

// Text layout flags with the values of the platform's DrawText.
namespace TextFlags
{
constexpr int Center = 0x1;
constexpr int Right = 0x2;
constexpr int VCenter = 0x4;
constexpr int Bottom = 0x8;
constexpr int WordBreak = 0x10;
constexpr int SingleLine = 0x20;
constexpr int NoClip = 0x100;
constexpr int EndEllipsis = 0x8000;
} // namespace TextFlags

class PageCanvas
{
public:
    virtual ~PageCanvas() = default;
    virtual void Line(const CanvasPen& pen, CanvasPoint from, CanvasPoint to) = 0;
    // One line of text with its top-left corner at the point.
    virtual void Text(const CanvasFont& font, CanvasPoint topLeft, const QString& text) = 0;
    virtual void TextInRect(const CanvasFont& font, const CanvasRect& rect, int flags,
                            const QString& text) = 0;
    virtual CanvasSize Measure(const CanvasFont& font, const QString& text) = 0;
};
