#include "QtJapanese.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>

QStringList QtJapanese::Folders()
{
    const QString program = QCoreApplication::applicationDirPath();
    return {QDir(program).filePath(QStringLiteral("translations")), program,
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool QtJapanese::Install(const QStringList& folders)
{
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    // Month and day names of the date fields and their calendars.
    QLocale::setDefault(japanese);
    bool loaded = false;
    for (const QString& folder : folders) {
        // qtbase_ja.qm, or the qt_ja.qm a deployment tool gathers the modules into.
        for (const char* name : {"qtbase", "qt"}) {
            loaded = m_qt.load(japanese, QLatin1String(name), QStringLiteral("_"), folder);
            if (loaded)
                break;
        }
        if (loaded)
            break;
    }
    if (loaded)
        QCoreApplication::installTranslator(&m_qt);
    // Last installed, asked first: it answers only what the translation lacks.
    QCoreApplication::installTranslator(&m_supplement);
    return loaded;
}
