// fenwir: the desktop program.
#include "CCorvaneApp.h"
#include "FontWarmUp.h"
#include "PlatformStart.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv)
{
    PlatformStart::BeforeApplication();
    FontWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Norkel"));
    QApplication::setApplicationName(QStringLiteral("Fenwir_Lite"));
    // No display name: Qt would append it to every window title.
    // Qt's own dialogs (file dialogs, print dialogs) speak Japanese too.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    CCorvaneApp fenwir(app, app.arguments(), fonts);
    return fenwir.Run();
}
