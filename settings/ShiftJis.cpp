#include "ShiftJis.h"

#include "CodePage932.h"

#include <utility>

namespace
{

// Characters that input methods on Linux produce where Windows users type
// their code-page-932 twins; the platform's conversion maps them by best fit,
// so a remark "東京〜新宿" keeps its wave dash instead of becoming "?".
constexpr std::pair<char16_t, char16_t> kBestFit[] = {
    {0x00A0, 0x0020}, // no-break space -> space
    {0x00A2, 0xFFE0}, // ¢ -> 81 91
    {0x00A3, 0xFFE1}, // £ -> 81 92
    {0x00A5, 0x005C}, // ¥ -> 5C
    {0x00A6, 0xFFE4}, // ¦ -> FA 55
    {0x00AB, 0x226A}, // « -> 81 E1
    {0x00AC, 0xFFE2}, // ¬ -> 81 CA
    {0x00AD, 0x2010}, // soft hyphen -> 81 5D
    {0x00B5, 0x03BC}, // µ -> 83 CA
    {0x00B7, 0x30FB}, // · -> 81 45
    {0x00BB, 0x226B}, // » -> 81 E2
    {0x2011, 0x2010}, // non-breaking hyphen -> 81 5D
    {0x2014, 0x2015}, // — -> 81 5C
    {0x2016, 0x2225}, // ‖ -> 81 61
    {0x203E, 0x007E}, // ‾ -> 7E
    {0x2212, 0xFF0D}, // − -> 81 7C
    {0x301C, 0xFF5E}, // 〜 -> 81 60
};

QString BestFit(const QString& text)
{
    QString mapped = text;
    for (QChar& c : mapped)
        for (const auto& [from, to] : kBestFit)
            if (c.unicode() == from)
                c = QChar(to);
    return mapped;
}
} // namespace

QByteArray EncodeShiftJis(const QString& text, bool* allEncoded)
{
    bool ok = true;
    QByteArray bytes = CodePage932::Encode(BestFit(text), &ok);
    if (allEncoded)
        *allEncoded = ok;
    return bytes;
}

QString DecodeShiftJis(QByteArrayView bytes)
{
    return CodePage932::Decode(bytes);
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
    bytes.clear();
    const QString mapped = BestFit(text);
    for (qsizetype i = 0; i < mapped.size(); ++i) {
        const qsizetype length = mapped[i].isHighSurrogate() && i + 1 < mapped.size() ? 2 : 1;
        bool ok = true;
        const QByteArray one = CodePage932::Encode(QStringView(mapped).mid(i, length), &ok);
        bytes += ok ? one : QByteArray("?");
        i += length - 1;
    }
    return bytes;
}
