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

QByteArray EncodeShiftJisReplacing(const QString& text, bool* replaced)
{
    bool allEncoded = true;
    QByteArray bytes = EncodeShiftJis(text, &allEncoded);
    if (replaced)
        *replaced = !allEncoded;
    if (allEncoded)
        return bytes;
    // Rare: encode character by character to put "?" where the code page has none.
    // The encoder's error flag survives resetState(), so each character gets its own.
    bytes.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder encoder(kCodePage932, QStringConverter::Flag::Stateless);
        const QByteArray one = encoder.encode(QStringView(text).mid(i, length));
        bytes += encoder.hasError() ? QByteArray("?") : one;
        i += length - 1;
    }
    return bytes;
}
