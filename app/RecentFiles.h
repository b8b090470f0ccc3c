#pragma once

#include <QObject>
#include <QStringList>

class QMenu;

// The recent-file list of the File menu ("最近使ったファイル"), most recent
// first, at most MRUMax entries, kept in the user's settings file.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    RecentFiles(int maxCount, QObject* parent = nullptr);

    void Load();
    void Save() const;
    void Add(const QString& path);
    void Remove(const QString& path);
    QStringList Paths() const { return m_paths; }
    QMenu* Menu() const { return m_menu; }

Q_SIGNALS:
    void OpenRequested(const QString& path);

private:
    void Rebuild();

    int m_maxCount;
    QStringList m_paths;
    QMenu* m_menu;
};
