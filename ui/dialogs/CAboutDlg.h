#pragma once

#include <QDialog>

// The about box: the product, its version (the build's), the libraries it
// runs on, its licence and the source of its station names.
class CAboutDlg : public QDialog
{
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static QString VersionText();
};
