#include "CodePage932.h"

#include <windows.h>

namespace
{
constexpr UINT kCodePage932 = 932;
} // namespace

// No best fit of the system's own: the callers map what may be mapped, the
// same on every system.
QByteArray CodePage932::Encode(QStringView text, bool* ok)
{
    *ok = true;
    if (text.isEmpty())
        return QByteArray();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, wide, length, nullptr,
                                         0, nullptr, nullptr);
    QByteArray bytes(size, '\0');
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, "?",
                        &usedDefault);
    *ok = size > 0 && !usedDefault;
    return bytes;
}

QString CodePage932::Decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(kCodePage932, 0, bytes.data(), length, nullptr, 0);
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(kCodePage932, 0, bytes.data(), length,
                        reinterpret_cast<wchar_t*>(text.data()), size);
    return text;
}
