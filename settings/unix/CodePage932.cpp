#include "CodePage932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace
{
constexpr const char* kCodePage932 = "windows-31j";
} // namespace

QByteArray CodePage932::Encode(QStringView text, bool* ok)
{
    QStringEncoder encoder(kCodePage932, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    *ok = !encoder.hasError();
    return bytes;
}

QString CodePage932::Decode(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodePage932, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}
