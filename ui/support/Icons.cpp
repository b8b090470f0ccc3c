#include "Icons.h"

#include <QIcon>

static void InitResources()
{
    Q_INIT_RESOURCE(icons);
}

void Icons::Install()
{
    InitResources();
    QStringList paths = QIcon::themeSearchPaths();
    if (!paths.contains(QStringLiteral(":/icons")))
        paths << QStringLiteral(":/icons");
    QIcon::setThemeSearchPaths(paths);
    // Our names ("fenwir-...") are found in our theme; the desktop theme
    // answers first for the standard ones (document-open, ...). A system
    // without an icon theme of its own (Windows) takes ours whole.
    QIcon::setFallbackThemeName(QStringLiteral("fenwir"));
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QStringLiteral("fenwir"));
}
