#include "RecordingCanvas.h"

void RecordingCanvas::Line(const CanvasPen& pen, CanvasPoint from, CanvasPoint to)
{
    lines.push_back({pen, from, to});
}

void RecordingCanvas::Text(const CanvasFont& font, CanvasPoint topLeft, const QString& text)
{
    texts.push_back({font, topLeft, text});
}

void RecordingCanvas::TextInRect(const CanvasFont& font, const CanvasRect& rect, int flags,
                                 const QString& text)
{
    cells.push_back({font, rect, flags, text});
}

CanvasSize RecordingCanvas::Measure(const CanvasFont& font, const QString& text)
{
    return {static_cast<int>(text.size()) * font.height / 2, font.height};
}

QStringList RecordingCanvas::Texts() const
{
    QStringList out;
    for (const auto& t : texts)
        out << t.text;
    return out;
}

QStringList RecordingCanvas::CellTexts() const
{
    QStringList out;
    for (const auto& c : cells)
        out << c.text;
    return out;
}

const RecordingCanvas::CellCall* RecordingCanvas::CellWithText(const QString& text) const
{
    for (const auto& c : cells)
        if (c.text == text)
            return &c;
    return nullptr;
}
