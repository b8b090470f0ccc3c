#pragma once

#include "PageCanvas.h"

#include <QStringList>

// How a text is laid into a table cell so that none of it is cut: the font
// it is drawn with and its lines, each line as tall as lineHeight.
struct FittedText {
    CanvasFont font;
    QStringList lines;
    int lineHeight = 0;
};

namespace TextFit
{
// On one line, the font made smaller until the text is no wider than width.
FittedText OneLine(PageCanvas& canvas, const CanvasFont& font, int width, const QString& text);

// Wrapped to width, in the largest size (never larger than the font given)
// at which all its lines fit the height: one line, else two a little
// smaller, three smaller still, and so on.
FittedText Wrapped(PageCanvas& canvas, const CanvasFont& font, int width, int height,
                   const QString& text);

// The text broken into lines no wider than width: where a line may break
// (between words, between Japanese characters), else between characters,
// never inside one (a surrogate pair stays whole).
QStringList Wrap(PageCanvas& canvas, const CanvasFont& font, int width, const QString& text);

// The font at another size: its height (cell or character) times scale,
// at least 1.
CanvasFont Scaled(const CanvasFont& font, double scale);
} // namespace TextFit
