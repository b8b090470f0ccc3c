#include "PrintFonts.h"

#include "Folders.h"

#include <QFileInfo>
#include <QFontDatabase>

namespace
{
constexpr const char* kRegular = "FenwirPrintSans-Regular.otf";
constexpr const char* kBold = "FenwirPrintSans-Bold.otf";
} // namespace

void PrintFonts::Register()
{
    if (QFontDatabase::hasFamily(kFamily))
        return;
    for (const char* file : {kRegular, kBold}) {
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

PdfTextLayer::Aliases PrintFonts::Aliases()
{
    return PdfTextLayer::ReadAliases(JoinPath(GetModuleFolder(), QString::fromLatin1(kRegular)));
}
