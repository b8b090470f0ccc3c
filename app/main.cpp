// fenwir: the desktop program.
#include "CCorvaneApp.h"
#include "FontWarmUp.h"
#include "PlatformStart.h"
#include "QtJapanese.h"
#include "StartGuard.h"

#include <QApplication>
#include <QHashFunctions>

int main(int argc, char** argv)
{
    // Qt's PDF writer lists a file's fonts in hash order: a fixed seed makes
    // an archived application's PDF the same bytes every time.
    QHashSeed::setDeterministicGlobalSeed();
    PlatformStart::BeforeApplication();
    FontWarmUp fonts;
    StartGuard guard;
    QApplication app(argc, argv);
    guard.Release();
    QApplication::setOrganizationName(QStringLiteral("Norkel"));
    QApplication::setApplicationName(QStringLiteral("Fenwir_Lite"));
    // No display name: Qt would append it to every window title.
    // Qt's own dialogs speak Japanese too, whatever the locale.
    QtJapanese japanese;
    japanese.Install();
    CCorvaneApp fenwir(app, app.arguments(), fonts);
    return fenwir.Run();
}
