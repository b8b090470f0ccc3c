#include "TextFormat.h"

#include "ShiftJis.h"

#include <cstdio>
#include <cstdlib>

QString FormatAmount(std::int32_t amount)
{
    const std::int32_t thousands = amount / 1000;
    const std::int32_t rest = std::abs(amount % 1000);
    char text[32];
    if (thousands == 0)
        std::snprintf(text, sizeof text, "%6d", amount);
    else
        std::snprintf(text, sizeof text, "%2d,%03d", thousands, rest);
    return QString::fromLatin1(text);
}

QString MakeTimestampName(const QString& prefix, const QString& suffix, const QDateTime& now)
{
    return prefix + now.toString(QStringLiteral("yyMMdd-HHmmss")) + suffix;
}

QString UrlEncodeShiftJis(const QString& text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    QString encoded;
    for (char c : EncodeShiftJis(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9')) {
            encoded += QLatin1Char(static_cast<char>(byte));
        } else if (byte == ' ') {
            encoded += QLatin1Char('+');
        } else {
            encoded += QLatin1Char('%');
            encoded += QLatin1Char(kHex[byte >> 4]);
            encoded += QLatin1Char(kHex[byte & 0xF]);
        }
    }
    return encoded;
}
