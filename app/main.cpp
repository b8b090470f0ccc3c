// fenwir: the desktop program.
#include "CCorvaneApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Norkel"));
    QApplication::setApplicationName(QStringLiteral("Fenwir_Lite"));
    QApplication::setApplicationDisplayName(QStringLiteral("Fenwir Lite"));
    CCorvaneApp fenwir(app, app.arguments());
    return fenwir.Run();
}
