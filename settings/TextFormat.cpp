#include "TextFormat.h"

#include "ShiftJis.h"

#include <cstdio>
#include <cstdlib>

QString FormatAmount(std::int64_t amount)
{
    const long long thousands = amount / 1000;
    const long long rest = std::llabs(amount % 1000);
    char text[40];
    if (thousands == 0)
        std::snprintf(text, sizeof text, "%6lld", static_cast<long long>(amount));
    else
        std::snprintf(text, sizeof text, "%2lld,%03lld", thousands, rest);
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
    // What the code page cannot hold at all is sent as "?", as the platform does.
    for (char c : EncodeShiftJisReplacing(text)) {
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

QString FormatYen(std::int64_t amount)
{
    const std::uint64_t magnitude =
        amount < 0 ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    QString digits = QString::number(static_cast<qulonglong>(magnitude));
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return amount < 0 ? QLatin1Char('-') + digits : digits;
}
