#include "ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace
{
constexpr const char* kCodePage932 = "windows-31j";
}

QByteArray EncodeShiftJis(const QString& text, bool* allEncoded)
{
    QStringEncoder encoder(kCodePage932, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (allEncoded)
        *allEncoded = !encoder.hasError();
    return bytes;
}

QString DecodeShiftJis(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodePage932, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}
