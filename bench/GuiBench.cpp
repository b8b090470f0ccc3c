// The desktop program's goals: a 50-page print preview ready under 0.5 s, and
// the undo of a delete in a 100,000-line claim under 50 ms.
#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "ClaimRules.h"
#include "DefaultLayout.h"
#include "PrintJob.h"
#include "QtClaimPrinter.h"
#include "SilentPrompts.h"

#include <QPrintPreviewWidget>
#include <QUndoStack>
#include <benchmark/benchmark.h>

namespace
{

EntryLines Lines(int count)
{
    EntryLines lines;
    for (int i = 0; i < count; ++i) {
        auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'790'000'000 + i * 600));
        line->fare = 100 + i % 900;
        line->entryStationName = QStringLiteral("東京");
        line->exitStationName = QStringLiteral("新宿");
        line->visitDestination = QStringLiteral("株式会社サンプル 本社");
        lines.push_back(std::move(line));
    }
    return lines;
}

void BM_FiftyPagePreview(benchmark::State& state)
{
    const EntryLines lines = Lines(1000);
    const PrintFormat layout = DefaultLayout();
    PrintJob job(layout);
    const int pages = job.Prepare(ClaimedLines(lines), {}, QDateTime::currentDateTime());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(layout.PageLayout());
    for (auto _ : state) {
        QPrintPreviewWidget preview(&printer);
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                         [&](QPrinter* p) { QtClaimPrinter::PaintPages(job, *p, 1, pages); });
        preview.updatePreview();
        if (preview.pageCount() != 50)
            state.SkipWithError("not 50 pages");
    }
}
BENCHMARK(BM_FiftyPagePreview)->Unit(benchmark::kMillisecond);

void BM_UndoDeleteInHundredThousandLines(benchmark::State& state)
{
    AppSettings settings;
    CCorvaneDoc doc(settings);
    doc.ReplaceLines(Lines(100'000));
    SilentPrompts prompts;
    CCorvaneForm form(doc, settings, prompts);
    for (auto _ : state) {
        state.PauseTiming();
        form.SelectRows({10, 500, 99'000});
        form.DeleteSelected();
        state.ResumeTiming();
        doc.UndoStack().undo();
    }
    if (doc.Lines().size() != 100'000)
        state.SkipWithError("lines lost");
}
BENCHMARK(BM_UndoDeleteInHundredThousandLines)->Unit(benchmark::kMillisecond);
} // namespace
