#pragma once

#include <QString>

// Where the application history lives: the folder "ApplyHistory" in the
// folder the setting DefaultPath names. Never a relative path or whatever
// folder is current: a folder that cannot be reached or made, or in which
// the history's files would not fit the platform's path limit, is an error
// that names it, in the user's words.
class HistoryFolder
{
public:
    // For reading: a missing ApplyHistory folder is a history not begun yet.
    static HistoryFolder Find(const QString& defaultPath);
    // For writing: the folder is made (one level) when missing.
    static HistoryFolder Make(const QString& defaultPath);

    bool IsUsable() const { return m_error.isEmpty(); }
    const QString& Error() const { return m_error; }
    const QString& Path() const { return m_path; }
    // A file of the history; its name is short enough by construction.
    QString File(const QString& name) const;

private:
    static HistoryFolder Locate(const QString& defaultPath, bool make);

    QString m_path;
    QString m_error;
};
