#include "QPainterCanvas.h"

#include "PrintFonts.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

QPainterCanvas::QPainterCanvas(QPainter& painter, double dotsPerInch)
    : m_painter(painter), m_scale(dotsPerInch / 254.0)
{
    PrintFonts::Register();
}

namespace
{
constexpr int kReferencePixels = 1000;

// The print font gives the Private Use Area glyphs of its own (for the PDF
// text layer); a character of it in a claim, a user-defined character of
// another system, has no glyph here and prints as the geta mark, as such
// characters do in Japanese print.
QString Printable(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF)
            c = QChar(0x3013);
    return out;
}
} // namespace

QPainterCanvas::MadeFont& QPainterCanvas::MakeFont(const CanvasFont& font)
{
    // The face last: it is the same for most texts, so the sizes decide.
    const auto key = std::tuple{font.height,    font.weight,    font.italic,
                                font.underline, font.strikeOut, font.face};
    if (const auto made = m_fonts.find(key); made != m_fonts.end())
        return made->second;
    QFont qfont;
    qfont.setFamilies(PrintFonts::FamiliesFor(font.face));
    // Unshaped, each glyph is the one the character map names, so a PDF's
    // text layer can name its character again (shaping swaps Latin digits
    // for variants no character maps to, and they dropped out of the text).
    qfont.setStyleStrategy(QFont::PreferNoShaping);
    // Glyphs advance by the font's own widths, not by widths rounded to
    // whole pixels: the page comes out the same on every system.
    qfont.setHintingPreference(QFont::PreferVerticalHinting);
    // A positive height is the character cell (ascent plus descent), as the
    // layouts were made for; a negative one the character (em) height.
    double em = -font.height;
    if (font.height >= 0) {
        qfont.setPixelSize(kReferencePixels);
        const QFontMetricsF reference(qfont);
        const double cellPerEm = (reference.ascent() + reference.descent()) / kReferencePixels;
        em = (font.height == 0 ? kDefaultFontHeight : font.height) / std::max(0.5, cellPerEm);
    }
    qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(Device(em)))));
    qfont.setWeight(
        static_cast<QFont::Weight>(std::clamp(font.weight <= 0 ? 400 : font.weight, 1, 1000)));
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    const QFontMetricsF metrics(qfont, m_painter.device());
    return m_fonts.emplace(key, MadeFont{qfont, metrics, {}}).first->second;
}

void QPainterCanvas::Line(const CanvasPen& pen, CanvasPoint from, CanvasPoint to)
{
    QPen qpen(Qt::black);
    switch (pen.style) {
    case 0:
    case 6: // inside frame: a solid line of the pen's width
        qpen.setStyle(Qt::SolidLine);
        qpen.setWidthF(std::max(1.0, Device(pen.width)));
        break;
    case 1:
        qpen.setStyle(Qt::DashLine);
        break;
    case 2:
        qpen.setStyle(Qt::DotLine);
        break;
    case 3:
        qpen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        qpen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        return; // no pen
    }
    if (pen.style != 0 && pen.style != 6)
        qpen.setCosmetic(true), qpen.setWidth(0);
    m_painter.setPen(qpen);
    m_painter.drawLine(QPointF(Device(from.x), Device(from.y)),
                       QPointF(Device(to.x), Device(to.y)));
}

void QPainterCanvas::Text(const CanvasFont& font, CanvasPoint topLeft, const QString& text)
{
    const MadeFont& made = MakeFont(font);
    m_painter.setFont(made.font);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QPointF(Device(topLeft.x), Device(topLeft.y) + made.metrics.ascent()), text);
}

void QPainterCanvas::TextInRect(const CanvasFont& font, const CanvasRect& rect, int flags,
                                const QString& text)
{
    const MadeFont& made = MakeFont(font);
    const QRectF area(QPointF(Device(rect.left), Device(rect.top)),
                      QPointF(Device(rect.right), Device(rect.bottom)));
    int alignment = Qt::AlignLeft;
    if (flags & TextFlags::Center)
        alignment = Qt::AlignHCenter;
    else if (flags & TextFlags::Right)
        alignment = Qt::AlignRight;
    // As with DrawText, vertical placement applies to single-line text only.
    const bool single = (flags & TextFlags::SingleLine) != 0;
    if (single && (flags & TextFlags::VCenter))
        alignment |= Qt::AlignVCenter;
    else if (single && (flags & TextFlags::Bottom))
        alignment |= Qt::AlignBottom;
    else
        alignment |= Qt::AlignTop;
    if (single)
        alignment |= Qt::TextSingleLine;
    else if (flags & TextFlags::WordBreak)
        alignment |= Qt::TextWordWrap;
    QString shown = Printable(text);
    if (flags & TextFlags::EndEllipsis)
        shown = made.metrics.elidedText(shown, Qt::ElideRight, area.width());
    m_painter.save();
    m_painter.setFont(made.font);
    m_painter.setPen(Qt::black);
    if (!(flags & TextFlags::NoClip))
        m_painter.setClipRect(area, Qt::IntersectClip);
    m_painter.drawText(area, alignment, shown);
    m_painter.restore();
}

CanvasSize QPainterCanvas::Measure(const CanvasFont& font, const QString& text)
{
    MadeFont& made = MakeFont(font);
    if (const auto known = made.sizes.constFind(text); known != made.sizes.constEnd())
        return *known;
    const CanvasSize size{
        static_cast<int>(std::lround(made.metrics.horizontalAdvance(Printable(text)) / m_scale)),
        static_cast<int>(std::lround(made.metrics.height() / m_scale))};
    made.sizes.insert(text, size);
    return size;
}
