#pragma once

#include "PageCanvas.h"

#include <QStringList>
#include <vector>

// Keeps every drawing call so tests can check exact texts and positions.
// Text is measured as half the font height per character.
class RecordingCanvas : public PageCanvas
{
public:
    struct LineCall {
        CanvasPen pen;
        CanvasPoint from, to;
    };
    struct TextCall {
        CanvasFont font;
        CanvasPoint at;
        QString text;
    };
    struct CellCall {
        CanvasFont font;
        CanvasRect rect;
        int flags;
        QString text;
    };

    void Line(const CanvasPen& pen, CanvasPoint from, CanvasPoint to) override;
    void Text(const CanvasFont& font, CanvasPoint topLeft, const QString& text) override;
    void TextInRect(const CanvasFont& font, const CanvasRect& rect, int flags,
                    const QString& text) override;
    CanvasSize Measure(const CanvasFont& font, const QString& text) override;

    QStringList Texts() const;
    QStringList CellTexts() const;
    const CellCall* CellWithText(const QString& text) const;

    std::vector<LineCall> lines;
    std::vector<TextCall> texts;
    std::vector<CellCall> cells;
};
