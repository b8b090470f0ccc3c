#pragma once

#include <QDialog>

class QTextBrowser;

// ヘルプ → 使い方 (F1): the program's manual, the file that ships beside
// it, in a window of its own beside the main window.
class CManualDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CManualDlg(QWidget* parent = nullptr);

    // Where the manual ships: manual.html beside the program.
    static QString ManualPath();
    // The manual as shown; empty when it could not be read.
    QString Text() const;
    QTextBrowser& Browser() const { return *m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};
