#pragma once

#include "CCsvSettingDlg.h"

#include <QFileDialog>

class AppSettings;

// The CSV save dialog: Qt's own file dialog (not the platform's, so it can
// carry the button) with "オプション...", which edits the CSV settings at
// once; cancelling the save keeps what the options changed.
class CCsvFileDlg : public QFileDialog
{
public:
    CCsvFileDlg(AppSettings& settings, const QString& proposal, QWidget* parent = nullptr);

    void ShowOptions();

private:
    AppSettings& m_settings;
};
