// One card import of 20 rail records (40 station lookups) against the full
// station database. Goal: under 2 ms per import.
#include "AppSettings.h"
#include "CardReadJob.h"
#include "ImportHistory.h"
#include "MessageReporter.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

namespace
{
const QString kDatabase = QStringLiteral(FENWIR_SHARED_DATA_DIR "/stations.sqlite");

class IgnoreMessages : public MessageReporter
{
public:
    void Report(int, const QString&, Icon) override {}
};

HistoryBlocks JourneysFromTheDatabase()
{
    std::vector<std::array<int, 2>> stations;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "pick");
        db.setDatabaseName(kDatabase);
        db.open();
        QSqlQuery q(db);
        q.exec("SELECT LineCode, StationCode FROM StationCode WHERE AreaCode = 0 AND LineCode "
               "BETWEEN 1 AND 255 AND StationCode < 256 ORDER BY rowid DESC LIMIT 21");
        while (q.next())
            stations.push_back({q.value(0).toInt(), q.value(1).toInt()});
    }
    QSqlDatabase::removeDatabase("pick");
    HistoryBlocks blocks;
    for (std::size_t i = 0; i + 1 < stations.size(); ++i) {
        const int date = (26 << 9) | (11 << 5) | static_cast<int>(i + 1);
        const int balance = 3000 + 10 * static_cast<int>(i);
        blocks.push_back(HistoryBlock{
            0x16, 0x01, 0, 0, static_cast<std::uint8_t>(date >> 8),
            static_cast<std::uint8_t>(date & 0xFF), static_cast<std::uint8_t>(stations[i][0]),
            static_cast<std::uint8_t>(stations[i][1]),
            static_cast<std::uint8_t>(stations[i + 1][0]),
            static_cast<std::uint8_t>(stations[i + 1][1]),
            static_cast<std::uint8_t>(balance & 0xFF), static_cast<std::uint8_t>(balance >> 8), 0,
            0, static_cast<std::uint8_t>(i), 0});
    }
    return blocks;
}

void BM_ImportTwentyBlocks(benchmark::State& state)
{
    if (!QFileInfo::exists(kDatabase)) {
        state.SkipWithError("../shared/data/stations.sqlite is missing");
        return;
    }
    const HistoryBlocks blocks = JourneysFromTheDatabase();
    const QString connect = QStringLiteral("DBQ=") + kDatabase + QStringLiteral(";");
    AppSettings settings;
    IgnoreMessages messages;
    for (auto _ : state) {
        EntryLines lines;
        std::vector<CardHistoryRow> rows;
        CardInfo card;
        CardReadJob job(lines, rows, card);
        job.Blocks() = blocks;
        benchmark::DoNotOptimize(ImportHistory(job, connect, QString(), settings, messages));
        if (lines.size() != 20)
            state.SkipWithError("the import did not add 20 lines");
    }
}
BENCHMARK(BM_ImportTwentyBlocks)->Unit(benchmark::kMillisecond);
} // namespace
