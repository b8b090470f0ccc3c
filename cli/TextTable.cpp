#include "TextTable.h"

#include <algorithm>

namespace
{
int DisplayWidth(const QString& text)
{
    int width = 0;
    for (QChar c : text) {
        if (c.isLowSurrogate())
            continue;
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
                          (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
                          (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
                          (u >= 0xFFE0 && u <= 0xFFE6) || c.isHighSurrogate();
        width += wide ? 2 : 1;
    }
    return width;
}
} // namespace

TextTable::TextTable(QStringList header, QSet<qsizetype> rightAligned)
    : m_rows{std::move(header)}, m_rightAligned(std::move(rightAligned))
{
}

QString TextTable::Text() const
{
    QList<int> widths;
    for (const QStringList& row : m_rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
    }
    QString text;
    for (const QStringList& row : m_rows) {
        QString out;
        for (qsizetype i = 0; i < row.size(); ++i) {
            const QString pad(widths[i] - DisplayWidth(row[i]), QLatin1Char(' '));
            out += m_rightAligned.contains(i) ? pad + row[i] : row[i] + pad;
            out += QStringLiteral("  ");
        }
        while (out.endsWith(QLatin1Char(' ')))
            out.chop(1);
        text += out + QLatin1Char('\n');
    }
    return text;
}
