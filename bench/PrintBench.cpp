// 1,000 claimed lines (50 pages) rendered to PDF with the program's layout.
// Goal: under 1 s.
#include "ClaimRules.h"
#include "DefaultLayout.h"
#include "PdfExport.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{
void BM_ThousandLinesToPdf(benchmark::State& state)
{
    EntryLines lines;
    for (int i = 0; i < 1000; ++i) {
        auto line = std::make_unique<EntryInfo>();
        line->applyFlag = 1;
        line->fare = 160 + i % 7 * 10;
        line->dateTime = 1'793'545'200 + std::int64_t{86400} * (i % 30);
        line->entryStationName = QStringLiteral("東京");
        line->entryLineName = QStringLiteral("山手線");
        line->exitStationName = QStringLiteral("新宿");
        line->visitDestination = QStringLiteral("株式会社サンプル 本社");
        line->remarks = QStringLiteral("打合せ");
        lines.push_back(std::move(line));
    }
    const PrintFormat layout = DefaultLayout();
    QTemporaryDir dir;
    const QDateTime now = QDateTime::currentDateTime();
    const std::vector<const EntryInfo*> claimed = ClaimedLines(lines);
    for (auto _ : state) {
        int pages = 0;
        if (!RenderClaimToPdf(layout, claimed, {}, now, {}, dir.filePath("claim.pdf"), &pages,
                              nullptr) ||
            pages != 50)
            state.SkipWithError("rendering failed");
    }
}
BENCHMARK(BM_ThousandLinesToPdf)->Unit(benchmark::kMillisecond);
} // namespace
