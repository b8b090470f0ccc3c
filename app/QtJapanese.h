#pragma once

#include "QtTextSupplement.h"

#include <QString>
#include <QStringList>
#include <QTranslator>

// Qt's own dialogs (print, page setup, files, the calendar of a date field)
// in Japanese whatever the system's locale: Qt's Japanese translation, the
// texts it lacks, and Japanese month and day names for every widget. The
// translation is looked for beside the program first (a copy that brings
// its own Qt), then in Qt's translations folder.
class QtJapanese
{
public:
    QtJapanese() = default;
    QtJapanese(const QtJapanese&) = delete;
    QtJapanese& operator=(const QtJapanese&) = delete;

    // Installs everything into the running application; false when Qt's
    // translation was found nowhere (the supplement and the locale still are).
    bool Install(const QStringList& folders = Folders());
    // The translation file in use, or empty.
    QString TranslationFile() const { return m_qt.filePath(); }

    // Where the translation is looked for, in order.
    static QStringList Folders();

private:
    QTranslator m_qt;
    QtTextSupplement m_supplement;
};
