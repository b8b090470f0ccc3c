#include "CsvCell.h"

QString CsvCell::InertText(const QString& text)
{
    if (text.isEmpty())
        return text;
    switch (text.front().unicode()) {
    case u'=':
    case u'+':
    case u'-':
    case u'@':
    case u'\t':
    case u'\r':
        return QLatin1Char('\'') + text;
    default:
        return text;
    }
}
