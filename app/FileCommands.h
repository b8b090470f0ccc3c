#pragma once

#include <QObject>
#include <QString>

class AppSettings;
class CCorvaneDoc;
class Prompts;
class RecentFiles;

// New, open, save and save as, with the question about unsaved changes
// before anything replaces the claim. Every failure is said in a message box;
// a claim is never replaced or lost without the user's yes.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    FileCommands(CCorvaneDoc& doc, AppSettings& settings, Prompts& prompts, RecentFiles& recent,
                 QObject* parent = nullptr);

    bool New();
    bool Open();
    // Opens a file (menu, recent list, a dropped file, the command line),
    // asking about unsaved changes first when askFirst. A claim whose marks
    // of suggested visit destinations could not be read opens, and says so.
    bool OpenPath(const QString& path, bool askFirst = true);
    // Into the claim's file; a claim never saved, or a recorded application
    // (a record is not overwritten), asks for a name.
    bool Save();
    bool SaveAs();
    // Before the claim is replaced or the program ends: true to go on.
    bool SaveModified();

    static QString SaveQuestion(const QString& title);
    static QString Filter() { return QStringLiteral("交通費ファイル (*.ent)"); }

private:
    bool SaveTo(const QString& path);

    CCorvaneDoc& m_doc;
    AppSettings& m_settings;
    Prompts& m_prompts;
    RecentFiles& m_recent;
};
