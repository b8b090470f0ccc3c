#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The plain conversions of Windows code page 932 (windows-31j), without
// best fit: ICU's through Qt on Linux, the system's own on Windows (Qt has
// no such codec there). The per-OS parts are in unix/ and windows/.
namespace CodePage932
{
// *ok is false when a character has no code in the page.
QByteArray Encode(QStringView text, bool* ok);
QString Decode(QByteArrayView bytes);
} // namespace CodePage932
