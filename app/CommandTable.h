#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

// Every command of the main window as a QAction whose object name is the
// command's name (ID_CARD_READ, ID_FILE_SAVE, ...), with its menu text,
// shortcut, status prompt and tooltip, and its enable rule.
class CommandTable : public QObject
{
    Q_OBJECT

public:
    explicit CommandTable(QObject* parent = nullptr);

    QAction* Get(const QString& name) const { return m_actions.value(name); }
    // The menu bar of the main window, and the list's context menu.
    void BuildMenus(QMenuBar* bar, QMenu* recentFiles);
    QMenu* BuildContextMenu(QWidget* parent) const;

    // The enable rules: rows and checked rows of the list, lines of the
    // claim, whether the selected line names stations to correct.
    void UpdateEnabled(int rows, int lines, int checked, bool stations);

private:
    QAction* Add(const QString& name, const QString& text, const QString& prompt,
                 const QString& icon = QString());

    QHash<QString, QAction*> m_actions;
};
