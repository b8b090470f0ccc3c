#include "PrintFonts.h"

#include "Folders.h"

#include <QFileInfo>
#include <QFontDatabase>

void PrintFonts::Register()
{
    if (QFontDatabase::hasFamily(kFamily))
        return;
    for (const char* file : {"FenwirPrintSans-Regular.otf", "FenwirPrintSans-Bold.otf"}) {
        const QString path = JoinPath(GetModuleFolder(), QString::fromLatin1(file));
        if (QFileInfo::exists(path))
            QFontDatabase::addApplicationFont(path);
    }
}

QStringList PrintFonts::FamiliesFor(const QString& face)
{
    if (face.startsWith(QLatin1String("Noto Sans CJK")))
        return {kFamily, face};
    return {face, kFamily};
}
