// Filling the history list from a 100,000-line claim (goal: under 100 ms).
#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "SilentPrompts.h"

#include <QApplication>
#include <QDateEdit>
#include <benchmark/benchmark.h>

namespace
{

void BM_FillHundredThousandLines(benchmark::State& state)
{
    AppSettings settings;
    CCorvaneDoc doc(settings);
    EntryLines lines;
    for (int i = 0; i < 100'000; ++i) {
        auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'790'000'000 + i * 600));
        line->fare = 100 + i % 900;
        line->entryStationName = QStringLiteral("東京");
        line->exitStationName = QStringLiteral("新宿");
        line->remarks = QStringLiteral("打合せ");
        lines.push_back(std::move(line));
    }
    doc.ReplaceLines(std::move(lines));
    SilentPrompts prompts;
    CCorvaneForm form(doc, settings, prompts);
    form.resize(900, 600);
    form.show();
    // The list filled anew: a period that holds every line, changed at each
    // step, so every line is filtered again and the total recounted, while
    // the window's layout stays as it is.
    form.SetPeriod(CCorvaneForm::Period::Range, QDate(2000, 1, 1), QDate(2099, 12, 31));
    QApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        form.ToEdit().setDate(QDate(2099, 12, 30 + (++step % 2)));
        QApplication::processEvents(); // the view lays out and paints what shows
    }
    if (form.RowCount() != 100'000)
        state.SkipWithError("not every line listed");
}
BENCHMARK(BM_FillHundredThousandLines)->Unit(benchmark::kMillisecond);
} // namespace
