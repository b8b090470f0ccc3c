// Start-up of the desktop program to its first shown window, against a
// minimal Qt program that shows a window with Japanese text: both started
// in turn (fenwir, yardstick, fenwir, ...) on the display given by DISPLAY
// (run it under Xvfb), each pair timed whole, and the median of the pairs'
// ratios reported. Goal: ratio <= 1.15.
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace
{
// Wall time of one whole run, in seconds; negative when it failed.
double TimedRun(const QString& program, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return -1;
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void StartUpAgainstMinimalQtProgram(benchmark::State& state)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("needs a display: run under xvfb-run");
        return;
    }
    // A user of its own, as on a first start.
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(".config"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("FENWIR_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    std::vector<double> ratios;
    std::vector<double> fenwir;
    std::vector<double> yardstick;
    TimedRun(QStringLiteral(FENWIR_PROGRAM), environment); // caches warmed
    TimedRun(QStringLiteral(MINIMAL_QT_PROGRAM), environment);
    for (auto _ : state) {
        const double a = TimedRun(QStringLiteral(FENWIR_PROGRAM), environment);
        const double b = TimedRun(QStringLiteral(MINIMAL_QT_PROGRAM), environment);
        if (a < 0 || b < 0) {
            state.SkipWithError("a run failed");
            return;
        }
        fenwir.push_back(a);
        yardstick.push_back(b);
        ratios.push_back(a / b);
    }
    state.counters["fenwir_ms"] = Median(fenwir) * 1000;
    state.counters["minimal_ms"] = Median(yardstick) * 1000;
    state.counters["ratio"] = Median(ratios);
}
BENCHMARK(StartUpAgainstMinimalQtProgram)->Iterations(30)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
