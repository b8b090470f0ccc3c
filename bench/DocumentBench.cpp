// A 100,000-line document written, read back and exported as CSV.
// Goal: each under 0.5 s.
#include "AppSettings.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "EntryList.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{
constexpr int kLines = 100'000;

EntryList BigDocument()
{
    EntryList list;
    for (int i = 0; i < kLines; ++i) {
        auto line = std::make_unique<EntryInfo>();
        line->applyFlag = i % 2;
        line->terminalType = 0x16;
        line->processType = 0x01;
        line->dateTime = 1'793'545'200 + std::int64_t{3600} * i;
        line->entryLine = 37;
        line->entryStation = 12;
        line->entryStationName = QStringLiteral("東京");
        line->entryLineName = QStringLiteral("山手線");
        line->entryCompanyName = QStringLiteral("ＪＲ東");
        line->exitStationName = QStringLiteral("新宿");
        line->exitLineName = QStringLiteral("中央線");
        line->exitCompanyName = QStringLiteral("ＪＲ東");
        line->entryLatitude = 35.68;
        line->exitLatitude = 35.69;
        line->balance = 4000;
        line->fare = 200;
        line->serialNumber = i;
        line->visitDestination = QStringLiteral("本社");
        line->remarks = QStringLiteral("打合せ");
        list.lines.push_back(std::move(line));
    }
    return list;
}

void BM_WriteDocument(benchmark::State& state)
{
    const EntryList list = BigDocument();
    for (auto _ : state) {
        ArchiveWriter out;
        list.Write(out, EntryList::Document);
        benchmark::DoNotOptimize(out.Data().size());
    }
}

void BM_ReadDocument(benchmark::State& state)
{
    ArchiveWriter out;
    BigDocument().Write(out, EntryList::Document);
    for (auto _ : state) {
        EntryList list;
        ArchiveReader in(out.Data());
        list.Read(in);
        benchmark::DoNotOptimize(list.lines.size());
    }
}

void BM_ExportCsv(benchmark::State& state)
{
    const EntryList list = BigDocument();
    QTemporaryDir dir;
    AppSettings settings;
    settings.CsvOutputItem = QStringLiteral("2,5,8,9,11,12");
    settings.CsvOutputHeader = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(list.WriteCsv(settings, dir.filePath("out.csv")));
}

BENCHMARK(BM_WriteDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);
} // namespace
