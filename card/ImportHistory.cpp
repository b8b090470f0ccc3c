#include "ImportHistory.h"

#include "AppSettings.h"
#include "CardIdentity.h"
#include "CardReadJob.h"
#include "HistoryCodes.h"
#include "MessageReporter.h"
#include "StationDb.h"

#include <algorithm>
#include <cmath>

namespace
{
bool IsDuplicate(const EntryInfo& line, const EntryLines& document)
{
    return std::any_of(document.begin(), document.end(),
                       [&](const auto& held) { return IsSameRecord(*held, line); });
}

// The balance before the oldest block, when the document holds the card's
// record before it; -1 otherwise.
std::int32_t BalanceBefore(CardReadJob& job, const std::vector<CardId>& cardIds)
{
    if (job.Blocks().empty())
        return -1;
    // Decoded on its own, so the read's rows are not touched.
    const EntryLines none;
    EntryLines scratch;
    std::vector<CardHistoryRow> rows;
    CardInfo card = job.Card();
    CardReadJob probe(none, scratch, rows, card);
    std::int32_t previous = -1;
    const auto oldest = probe.DecodeBlock(job.Blocks().back(), previous);
    const std::vector<CardId> ids = cardIds.empty() ? std::vector<CardId>{card.idm} : cardIds;
    const EntryInfo* before = RecordBefore(job.Held(), ids, *oldest);
    return before ? before->balance : -1;
}

void CompleteBus(EntryInfo& line, StationDb& db, const AppSettings& settings)
{
    if (db.IsOpen()) {
        db.LookupStation(line.exitArea, static_cast<std::uint8_t>(line.exitLine & 0xFF),
                         static_cast<std::uint8_t>(line.exitStation & 0xFF), line.exitStationName,
                         line.exitLineName, line.exitCompanyName, line.exitLatitude,
                         line.exitLongitude);
        if (db.IsOpen())
            db.LookupBusStop(line.exitLine, line.exitStation, line.exitStationName,
                             line.exitLineName, line.exitCompanyName);
    }
    line.remarks = ProcessTypeText(line.processType);
    if (line.exitStationName != QStringLiteral("共通"))
        line.visitDestination = settings.FindVisitByStation(line.exitStationName);
}

void CompleteRail(EntryInfo& line, StationDb& db, const AppSettings& settings)
{
    if (line.entryLine != 0 && db.IsOpen())
        db.LookupStation(line.entryArea, static_cast<std::uint8_t>(line.entryLine),
                         static_cast<std::uint8_t>(line.entryStation), line.entryStationName,
                         line.entryLineName, line.entryCompanyName, line.entryLatitude,
                         line.entryLongitude);
    if (line.exitLine != 0) {
        if (db.IsOpen())
            db.LookupStation(line.exitArea, static_cast<std::uint8_t>(line.exitLine),
                             static_cast<std::uint8_t>(line.exitStation), line.exitStationName,
                             line.exitLineName, line.exitCompanyName, line.exitLatitude,
                             line.exitLongitude);
        line.visitDestination = settings.FindVisitByStation(line.exitStationName);
    }
    if (line.processType != 1) {
        line.remarks = ProcessTypeText(line.processType);
        if (line.processType == 2)
            line.remarks.prepend(line.paymentType == 2 ? QStringLiteral("クレジット")
                                                       : QStringLiteral("現金"));
    }
    if (line.entryLatitude != 0 && line.entryLongitude != 0 && line.exitLatitude != 0 &&
        line.exitLongitude != 0)
        ComputeDistanceBearing(line.entryLatitude, line.entryLongitude, line.exitLatitude,
                               line.exitLongitude, line.distance, line.bearing);
}
} // namespace

std::int32_t ImportHistory(CardReadJob& job, const QString& connectString, const QString& password,
                           const AppSettings& settings, MessageReporter& messages,
                           const std::vector<CardId>& cardIds)
{
    StationDb db;
    if (!db.Connect(connectString, password, StationDb::kReadOnly | StationDb::kNoDialog))
        messages.Report(kStationDbFailedMessage,
                        QStringLiteral("駅名情報データベースの接続に失敗しました。"),
                        MessageReporter::Icon::Exclamation);
    if (!db.CorrectionsProblem().isEmpty())
        messages.Report(0, db.CorrectionsProblem(), MessageReporter::Icon::Exclamation);

    // The rows of the last read stay until this read has been decoded whole.
    std::vector<CardHistoryRow> previousRows = std::move(job.HistoryRows());
    job.HistoryRows().clear();
    std::int32_t previousBalance = -1;
    EntryLines added;
    try {
        previousBalance = BalanceBefore(job, cardIds);
        for (auto block = job.Blocks().rbegin(); block != job.Blocks().rend(); ++block) {
            std::unique_ptr<EntryInfo> line = job.DecodeBlock(*block, previousBalance);
            if (IsDuplicate(*line, job.Held()))
                continue;
            switch (ClassifyForImport(line->terminalType, line->processType)) {
            case ImportClass::Bus:
                CompleteBus(*line, db, settings);
                break;
            case ImportClass::Shop:
                line->remarks = ProcessTypeText(line->processType);
                break;
            case ImportClass::Rail:
                CompleteRail(*line, db, settings);
                break;
            }
            added.push_back(std::move(line));
        }
    } catch (...) {
        job.HistoryRows() = std::move(previousRows);
        throw;
    }
    db.Close();
    for (auto& line : added)
        job.Added().push_back(std::move(line));
    return previousBalance;
}

void ComputeDistanceBearing(double entryLatitude, double entryLongitude, double exitLatitude,
                            double exitLongitude, std::int32_t& distance, float& bearing)
{
    constexpr double k = 0.017453292519943295;
    constexpr double R = 6378137;
    const double east = std::cos(entryLatitude * k) * (exitLongitude - entryLongitude) * k * R;
    const double north = (exitLatitude - entryLatitude) * k * R;
    distance = static_cast<std::int32_t>(std::sqrt(north * north + east * east));
    float angle = 0;
    if (east != 0 || north != 0)
        angle = static_cast<float>(std::atan2(north, east) * 57.29577951308232);
    if (angle < 0) {
        bearing = 90.0f - angle;
    } else {
        bearing = (180.0f - angle) + 270.0f;
        if (bearing >= 360.0f)
            bearing -= 360.0f;
    }
}
