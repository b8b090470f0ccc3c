#pragma once

#include "CStationCorrectDlg.h"
#include "EntryInfo.h"

#include <functional>
#include <optional>
#include <vector>

class AppSettings;
class CCorvaneDoc;
class Prompts;
class QWidget;

// 駅名を訂正...: opens 駅名の訂正 for the stations of a line, with the
// database's names and the user's corrections, and hands what the user
// typed to the claim as one undoable step.
class StationCorrector
{
public:
    // Shows the dialog; the places' corrections on OK, nothing on cancel.
    using Dialog = std::function<std::optional<std::vector<std::optional<StationNames>>>(
        const std::vector<CStationCorrectDlg::Place>&, QWidget* parent)>;

    StationCorrector(CCorvaneDoc& doc, AppSettings& settings, Prompts& prompts);

    // Whether the line names a station by code (a card line that is no
    // shop purchase).
    static bool CanCorrect(const EntryInfo& line);
    // The line with its names after the dialog (corrected or as they were);
    // nothing when the dialog was cancelled or the line names no station.
    std::optional<EntryInfo> Run(const EntryInfo& line, QWidget* parent);
    // Tests answer the dialog without showing it.
    void SetDialog(Dialog dialog) { m_dialog = std::move(dialog); }

private:
    std::vector<CStationCorrectDlg::Place> PlacesOf(const EntryInfo& line);

    CCorvaneDoc& m_doc;
    AppSettings& m_settings;
    Prompts& m_prompts;
    Dialog m_dialog;
};
