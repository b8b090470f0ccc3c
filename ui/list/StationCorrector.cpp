#include "StationCorrector.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "LineStations.h"
#include "Prompts.h"
#include "StationCorrections.h"
#include "StationDb.h"

#include <algorithm>

namespace
{
QString Title(const LineStations::Place& place)
{
    if (place.code.IsBus())
        return QStringLiteral("バス停");
    return place.side == LineStations::Side::Entry ? QStringLiteral("入場駅")
                                                   : QStringLiteral("出場駅");
}

std::optional<std::vector<std::optional<StationNames>>>
ShowDialog(const std::vector<CStationCorrectDlg::Place>& places, QWidget* parent)
{
    CStationCorrectDlg dialog(places, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Result();
}
} // namespace

StationCorrector::StationCorrector(CCorvaneDoc& doc, AppSettings& settings, Prompts& prompts)
    : m_doc(doc), m_settings(settings), m_prompts(prompts), m_dialog(ShowDialog)
{
}

bool StationCorrector::CanCorrect(const EntryInfo& line)
{
    return !LineStations::Of(line).empty();
}

std::vector<CStationCorrectDlg::Place> StationCorrector::PlacesOf(const EntryInfo& line)
{
    // The database alone: the dialog shows what the user corrects.
    StationDb db{QString()};
    const bool connected = db.Connect(m_settings.ConnectStringMdb, m_settings.dbPassword,
                                      StationDb::kReadOnly | StationDb::kNoDialog);
    StationCorrections corrections(StationCorrections::DefaultPath());
    QString problem;
    if (!corrections.Load(&problem))
        m_prompts.Ask(problem, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    std::vector<CStationCorrectDlg::Place> places;
    for (const LineStations::Place& place : LineStations::Of(line)) {
        // A trip in and out at one station is one place.
        if (std::any_of(places.begin(), places.end(),
                        [&](const auto& shown) { return shown.code == place.code; }))
            continue;
        std::optional<StationNames> database;
        if (connected) {
            database.emplace();
            db.LookupCode(place.code, *database);
        }
        places.push_back({Title(place), place.code, database, corrections.Get(place.code)});
    }
    return places;
}

std::optional<EntryInfo> StationCorrector::Run(const EntryInfo& line, QWidget* parent)
{
    if (!CanCorrect(line))
        return std::nullopt;
    const std::vector<CStationCorrectDlg::Place> places = PlacesOf(line);
    const auto result = m_dialog(places, parent);
    if (!result || result->size() != places.size())
        return std::nullopt;
    std::vector<StationCorrection> corrections;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const CStationCorrectDlg::Place& place = places[i];
        std::optional<StationNames> names = (*result)[i];
        // A line or company as the database has it stays the database's, so
        // that a newer database renames it.
        if (names && place.database) {
            if (names->line == place.database->line)
                names->line.clear();
            if (names->company == place.database->company)
                names->company.clear();
        }
        // Fields left as the database has them are no correction.
        const bool asDatabase =
            !names || (place.database && names->Over(*place.database) == *place.database);
        if (!place.correction && asDatabase)
            continue;
        corrections.push_back({place.code, names, place.database});
    }
    if (corrections.empty())
        return line;
    if (!m_doc.CorrectStations(corrections))
        return line;
    return Corrected(line, corrections);
}
