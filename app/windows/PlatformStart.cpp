#include "PlatformStart.h"

#include <QByteArray>

// Text is laid out by FreeType, as on Linux: glyphs advance by the font's own
// widths rather than by GDI's whole pixels, so a printed or saved claim is
// the same page on both systems (and the preview shows that page).
void PlatformStart::BeforeApplication()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
}
