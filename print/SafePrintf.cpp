#include "SafePrintf.h"

namespace
{
QString Pad(const QString& text, int width, bool leftAlign, QChar fill)
{
    if (text.size() >= width)
        return text;
    const QString padding(width - text.size(), fill);
    if (leftAlign)
        return text + QString(width - text.size(), QLatin1Char(' '));
    if (fill == QLatin1Char('0') &&
        (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))))
        return text.left(1) + padding + text.mid(1);
    return padding + text;
}
} // namespace

QString SafePrintf(const QString& format, const std::variant<long long, QString>& argument)
{
    QString out;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            out += c;
            ++i;
            continue;
        }
        if (format[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            i += 2;
            continue;
        }
        // %[flags][width][.precision][length]conversion
        qsizetype j = i + 1;
        bool leftAlign = false, zero = false, plus = false;
        while (j < format.size() && QStringLiteral("-+ 0#").contains(format[j])) {
            leftAlign |= format[j] == QLatin1Char('-');
            zero |= format[j] == QLatin1Char('0');
            plus |= format[j] == QLatin1Char('+');
            ++j;
        }
        int width = 0;
        while (j < format.size() && format[j].isDigit() && width < 1000)
            width = width * 10 + format[j++].digitValue();
        int precision = -1;
        if (j < format.size() && format[j] == QLatin1Char('.')) {
            precision = 0;
            ++j;
            while (j < format.size() && format[j].isDigit() && precision < 1000)
                precision = precision * 10 + format[j++].digitValue();
        }
        while (j < format.size() && QStringLiteral("hlLqjzt").contains(format[j]))
            ++j;
        if (j >= format.size() || !QStringLiteral("diuxXs").contains(format[j])) {
            out += format.mid(i, j - i); // not a conversion we give: keep it
            i = j;
            continue;
        }
        const QChar conversion = format[j];
        QString text;
        if (conversion == QLatin1Char('s')) {
            text = std::holds_alternative<QString>(argument)
                       ? std::get<QString>(argument)
                       : QString::number(std::get<long long>(argument));
            if (precision >= 0)
                text.truncate(precision);
        } else {
            const long long number = std::holds_alternative<long long>(argument)
                                         ? std::get<long long>(argument)
                                         : std::get<QString>(argument).trimmed().toLongLong();
            const int base =
                conversion == QLatin1Char('x') || conversion == QLatin1Char('X') ? 16 : 10;
            text = QString::number(number, base);
            if (conversion == QLatin1Char('X'))
                text = text.toUpper();
            if (plus && number >= 0)
                text.prepend(QLatin1Char('+'));
        }
        out += Pad(text, width, leftAlign,
                   zero && !leftAlign && conversion != QLatin1Char('s') ? QLatin1Char('0')
                                                                        : QLatin1Char(' '));
        i = j + 1;
    }
    return out;
}
