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
    // Our names ("fenwir-...") are found in our theme; a desktop theme
    // answers first for the standard ones (document-open, ...). Without one
    // (only the bare hicolor theme, which has no action icons) ours answers
    // at once, instead of after a search through every hicolor folder.
    const QString desktop = QIcon::themeName();
    if (desktop.isEmpty() || desktop == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("fenwir"));
    else
        QIcon::setFallbackThemeName(QStringLiteral("fenwir"));
}
