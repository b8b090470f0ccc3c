#include "TextFit.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cmath>

namespace
{
QString TrimmedEnd(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return text.left(end);
}

QString TrimmedStart(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start].isSpace())
        ++start;
    return text.mid(start);
}

int Width(PageCanvas& canvas, const CanvasFont& font, const QString& text)
{
    return canvas.Measure(font, TrimmedEnd(text)).width;
}

int LineHeight(PageCanvas& canvas, const CanvasFont& font, const QString& text)
{
    return canvas.Measure(font, text.isEmpty() ? QStringLiteral(" ") : text).height;
}

// How finely a text is cut into pieces that stay on one line: at spaces, at
// every place a line may break (between Japanese characters too, never
// before 、 or 」), between characters.
enum class Cut { Spaces, Breaks, Characters };

QStringList Pieces(const QString& text, Cut cut)
{
    QStringList pieces;
    if (cut == Cut::Spaces) {
        static const QRegularExpression word(QStringLiteral("\\S+\\s*|\\s+"),
                                             QRegularExpression::UseUnicodePropertiesOption);
        for (const auto& match : word.globalMatch(text))
            pieces << match.captured(0);
        return pieces;
    }
    QTextBoundaryFinder finder(
        cut == Cut::Breaks ? QTextBoundaryFinder::Line : QTextBoundaryFinder::Grapheme, text);
    qsizetype from = 0;
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        pieces << text.mid(from, at - from);
        from = at;
    }
    if (from < text.size())
        pieces << text.mid(from);
    return pieces;
}

// Fills lines with the pieces; a piece wider than a line is cut finer.
void Fill(PageCanvas& canvas, const CanvasFont& font, int width, const QStringList& pieces, Cut cut,
          QStringList& lines, QString& line)
{
    for (const QString& piece : pieces) {
        if (Width(canvas, font, line + piece) <= width) {
            line += piece;
            continue;
        }
        if (!TrimmedEnd(line).isEmpty())
            lines << TrimmedEnd(line);
        line = TrimmedStart(piece);
        if (Width(canvas, font, line) <= width || cut == Cut::Characters)
            continue;
        const QString rest = line;
        line.clear();
        const Cut finer = cut == Cut::Spaces ? Cut::Breaks : Cut::Characters;
        Fill(canvas, font, width, Pieces(rest, finer), finer, lines, line);
    }
}

QStringList WrapParagraph(PageCanvas& canvas, const CanvasFont& font, int width,
                          const QString& text, Cut cut)
{
    QStringList lines;
    QString line;
    Fill(canvas, font, width, Pieces(text, cut), cut, lines, line);
    if (!TrimmedEnd(line).isEmpty() || lines.isEmpty())
        lines << TrimmedEnd(line);
    return lines;
}

// The font with its height spelled out.
CanvasFont Sized(CanvasFont font)
{
    if (font.height == 0)
        font.height = kDefaultFontHeight;
    return font;
}

CanvasFont OneSmaller(CanvasFont font)
{
    font.height += font.height > 0 ? -1 : 1;
    return font;
}

FittedText Fitted(PageCanvas& canvas, const CanvasFont& font, QStringList lines)
{
    return {font, lines, LineHeight(canvas, font, lines.join(QString()))};
}
} // namespace

namespace TextFit
{
CanvasFont Scaled(const CanvasFont& font, double scale)
{
    CanvasFont scaled = font;
    const int height = font.height == 0 ? kDefaultFontHeight : font.height;
    const auto size = static_cast<int>(std::lround(std::abs(height) * scale));
    scaled.height = std::max(1, size) * (height < 0 ? -1 : 1);
    return scaled;
}

QStringList Wrap(PageCanvas& canvas, const CanvasFont& font, int width, const QString& text)
{
    static const QRegularExpression newline(QStringLiteral("\\r\\n|\\r|\\n"));
    QStringList lines;
    for (const QString& paragraph : text.split(newline)) {
        // Lines broken at the spaces the writer put, unless that takes more.
        const QStringList atSpaces = WrapParagraph(canvas, font, width, paragraph, Cut::Spaces);
        const QStringList atBreaks = WrapParagraph(canvas, font, width, paragraph, Cut::Breaks);
        lines << (atSpaces.size() <= atBreaks.size() ? atSpaces : atBreaks);
    }
    return lines;
}

FittedText OneLine(PageCanvas& canvas, const CanvasFont& layoutFont, int width, const QString& text)
{
    const CanvasFont font = Sized(layoutFont);
    static const QRegularExpression newlines(QStringLiteral("[\\r\\n]+"));
    const QString line = QString(text).replace(newlines, QStringLiteral(" "));
    const int natural = Width(canvas, font, line);
    if (natural <= width || natural <= 0)
        return Fitted(canvas, font, {line});
    CanvasFont smaller = Scaled(font, static_cast<double>(std::max(1, width)) / natural);
    while (Width(canvas, smaller, line) > width && std::abs(smaller.height) > 1)
        smaller = OneSmaller(smaller);
    return Fitted(canvas, smaller, {line});
}

FittedText Wrapped(PageCanvas& canvas, const CanvasFont& layoutFont, int width, int height,
                   const QString& text)
{
    const CanvasFont font = Sized(layoutFont);
    const QStringList whole = Wrap(canvas, font, width, text);
    if (whole.size() <= 1)
        return Fitted(canvas, font, whole);
    // The largest size at which the wrapped lines fit the height: a smaller
    // font takes no more lines, so the sizes that fit lie below the rest.
    const auto fits = [&](int size) {
        CanvasFont sized = font;
        sized.height = font.height < 0 ? -size : size;
        const QStringList lines = Wrap(canvas, sized, width, text);
        return lines.size() * LineHeight(canvas, sized, text) <= height;
    };
    int low = 1;
    int high = std::abs(font.height);
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle - 1;
    }
    CanvasFont sized = font;
    sized.height = font.height < 0 ? -low : low;
    return Fitted(canvas, sized, Wrap(canvas, sized, width, text));
}
} // namespace TextFit
