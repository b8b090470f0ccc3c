#pragma once

#include "ClaimRules.h"

#include <QString>
#include <functional>

class AppSettings;
class CCorvaneDoc;
class Prompts;
class QWidget;

// "CSVファイル保存": asks for the file (with the options button), remembers
// its folder, and writes the list's lines by the CSV settings. A file that
// cannot be written is reported and any file there is left as it was.
class CsvCommand
{
public:
    // Returns the chosen path, or empty when the user cancelled.
    using Chooser = std::function<QString(const QString& proposal)>;

    CsvCommand(CCorvaneDoc& doc, AppSettings& settings, Prompts& prompts, QWidget* window);

    void SetChooser(Chooser chooser) { m_choose = std::move(chooser); }
    // The period the list shows, which the export keeps to.
    void SetPeriod(std::function<ClaimFilter()> period) { m_period = std::move(period); }
    // Where a saved file is named (the status bar).
    void SetStatus(std::function<void(const QString&)> status) { m_status = std::move(status); }
    static QString SavedText(const QString& path);
    // False when cancelled or when nothing could be written. Characters
    // Shift-JIS cannot hold are written as "?" and the user is told.
    bool Run();

    // What the user is told when characters became "?"; with the layout of
    // chosen columns, UTF-8 would have kept them.
    static QString LostCharactersMessage(const QString& path, bool utf8Offered);

private:
    CCorvaneDoc& m_doc;
    AppSettings& m_settings;
    Prompts& m_prompts;
    Chooser m_choose;
    std::function<ClaimFilter()> m_period;
    std::function<void(const QString&)> m_status;
};
