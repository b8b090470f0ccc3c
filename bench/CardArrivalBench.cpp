// From a card's arrival on the reader to its lines imported, through the
// whole read command with its waiting: the benchmark lays the card down while
// the read waits, at a moment it knows, and the read takes it from there.
// Goal: under 0.15 s plus the read itself, for PC/SC and USB alike.
//
// The arrival is when the reader has the card: for a USB reader, the moment
// the emulator lays it down; for PC/SC, the moment the reader reports it (the
// virtual reader's first ATR request after the card came; pcscd asks the
// virtual reader only every 400 ms, where a real reader tells it at once).
// Counters: wait (arrival to the card found), read (polling and 20 blocks),
// import (the lines named and added); the time is arrival to imported.
#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CardDetector.h"
#include "CardReadCommand.h"
#include "CardReadFrontEnd.h"
#include "CardWaitDialog.h"
#include "MessageReporter.h"
#include "PcscStack.h"
#include "PcscUnavailable.h"
#include "Port100Emulator.h"
#include "ReaderSelection.h"
#include "SocketUsbBus.h"
#include "SystemPcsc.h"
#include "UsbSocketServer.h"
#include "VirtualCard.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <thread>

namespace
{
using Clock = std::chrono::steady_clock;
const QString kDatabase = QStringLiteral(FENWIR_SHARED_DATA_DIR "/stations.sqlite");

std::int64_t Now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

QString CardText()
{
    QString text = QStringLiteral("UID: 01 14 02 12 3A 4B 5C 6D\nSystem 00: 0003\n");
    for (int n = 0; n < 20; ++n) {
        const int balance = 1000 + 200 * n;
        text += QStringLiteral("Block %1: | Service code 090F | Block index %2 | Data: 16 01 00 00 "
                               "35 62 01 10 01 20 %3 %4 00 00 %5 00 |\n")
                    .arg(n + 1, 4, 10, QChar('0'))
                    .arg(n, 2, 10, QChar('0'))
                    .arg(balance & 0xFF, 2, 16, QChar('0'))
                    .arg(balance >> 8, 2, 16, QChar('0'))
                    .arg(20 - n, 2, 16, QChar('0'));
    }
    return text;
}

class IgnoreMessages : public MessageReporter
{
public:
    void Report(int, const QString&, Icon) override {}
};

// The detection dialog without a window: it lays the card down once the
// wait has begun, and notes when the card was found.
class TimingDialog : public CardWaitDialog
{
public:
    std::function<void()> lay;
    std::int64_t found = 0;

    bool Run(CardDetector& detector) override
    {
        detector.Open();
        lay();
        while (m_running && detector.GetState() == CardDetector::State::Waiting) {
            if (m_interval > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(m_interval));
            detector.Tick();
        }
        return m_accepted;
    }
    void ShowStatus(const QString& text) override
    {
        if (text == CardDetector::ReadingText() && found == 0)
            found = Now();
    }
    void ShowFailure(const QString&) override {}
    void StartTimer(int milliseconds) override
    {
        m_interval = milliseconds;
        m_running = true;
    }
    void StopTimer() override { m_running = false; }
    void Accept() override { m_accepted = true; }

private:
    int m_interval = 0;
    bool m_running = false;
    bool m_accepted = false;
};

class TimingFrontEnd : public CardReadFrontEnd
{
public:
    TimingDialog dialog;
    std::int64_t read = 0;
    std::int64_t imported = 0;

    void ShowCardStatus(const QString& idm, std::int32_t) override
    {
        if (!idm.isEmpty() && idm != CardReadCommand::ReadingText())
            imported = Now();
    }
    std::pair<QString, QString> CardPaneTexts() const override { return {}; }
    void SetCardPaneTexts(const QString&, const QString&) override {}
    CardWaitDialog* WaitDialog() override { return &dialog; }
    void CardWasRead() override { read = Now(); }
};

// One read of the command, the card laid down by lay() once the wait has
// begun; the arrival as arrival() says afterwards. False when it failed.
bool TimeOneRead(benchmark::State& state, ReaderEnvironment& environment,
                 const std::function<void()>& lay, const std::function<std::int64_t()>& arrival,
                 std::vector<double>& waits, std::vector<double>& reads,
                 std::vector<double>& imports)
{
    AppSettings settings;
    settings.PollingTime = 10;
    settings.dbPassword = AppSettings::kDbPassword;
    CCorvaneDoc doc(settings);
    TimingFrontEnd frontEnd;
    frontEnd.dialog.lay = lay;
    IgnoreMessages messages;
    CardReadCommand command(doc, settings, QStringLiteral("DBQ=") + kDatabase + ";", environment);
    const auto result = command.Run(frontEnd, messages);
    const std::int64_t arrived = arrival();
    if (!result.imported || result.added.size() != 20 || arrived == 0 ||
        frontEnd.dialog.found == 0) {
        state.SkipWithError("the read failed");
        return false;
    }
    const auto ms = [](std::int64_t ns) { return static_cast<double>(ns) / 1e6; };
    state.SetIterationTime(static_cast<double>(frontEnd.imported - arrived) / 1e9);
    waits.push_back(ms(frontEnd.dialog.found - arrived));
    reads.push_back(ms(frontEnd.read - frontEnd.dialog.found));
    imports.push_back(ms(frontEnd.imported - frontEnd.read));
    return true;
}

void Report(benchmark::State& state, const std::vector<double>& waits,
            const std::vector<double>& reads, const std::vector<double>& imports)
{
    const auto mean = [](const std::vector<double>& v) {
        double sum = 0;
        for (double x : v)
            sum += x;
        return v.empty() ? 0.0 : sum / static_cast<double>(v.size());
    };
    const auto worst = [](const std::vector<double>& v) {
        return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
    };
    state.counters["wait_ms"] = mean(waits);
    state.counters["wait_max_ms"] = worst(waits);
    state.counters["read_ms"] = mean(reads);
    state.counters["import_ms"] = mean(imports);
}

void BM_UsbArrivalToImported(benchmark::State& state)
{
    if (!QFileInfo::exists(kDatabase)) {
        state.SkipWithError("../shared/data/stations.sqlite is missing");
        return;
    }
    QTemporaryDir dir;
    QFile file(dir.filePath("card.txt"));
    file.open(QIODevice::WriteOnly);
    file.write(CardText().toUtf8());
    file.close();
    QString error;
    VirtualCard card(*CardImage::Load(file.fileName(), &error));
    Port100Emulator rcs380(card);
    UsbSocketServer server(rcs380, dir.filePath("usb.sock"));
    if (!server.Listen()) {
        state.SkipWithError("cannot listen");
        return;
    }
    std::thread serving([&server] { server.Serve(); });
    PcscUnavailable noPcsc;
    SocketUsbBus bus(dir.filePath("usb.sock"));
    ReaderEnvironment environment{noPcsc, QString(), &bus};
    std::vector<double> waits, reads, imports;
    int iteration = 0;
    for (auto _ : state) {
        rcs380.SetCardPresent(false);
        std::atomic<std::int64_t> arrived = 0;
        std::thread layer;
        // Laid at a different point of the 100 ms polling cycle each time.
        const auto delay = std::chrono::milliseconds(150 + (iteration++ * 37) % 100);
        const auto lay = [&] {
            layer = std::thread([&, delay] {
                std::this_thread::sleep_for(delay);
                arrived = Now();
                rcs380.SetCardPresent(true);
            });
        };
        TimeOneRead(
            state, environment, lay,
            [&] {
                layer.join();
                return arrived.load();
            },
            waits, reads, imports);
    }
    server.Stop();
    serving.join();
    Report(state, waits, reads, imports);
}

void BM_PcscArrivalToImported(benchmark::State& state)
{
    if (!QFileInfo::exists(kDatabase)) {
        state.SkipWithError("../shared/data/stations.sqlite is missing");
        return;
    }
    if (PcscStack::ServiceAlreadyRunning()) {
        state.SkipWithError("another pcscd is running");
        return;
    }
    QTemporaryDir dir;
    const QString image = dir.filePath("card.txt");
    QFile file(image);
    file.open(QIODevice::WriteOnly);
    file.write(CardText().toUtf8());
    file.close();
    PcscStack stack;
    if (!stack.StartService(QStringLiteral("SCR331CL-NTTCom"))) {
        state.SkipWithError("pcscd could not be started");
        return;
    }
    SystemPcsc pcsc;
    ReaderEnvironment environment{pcsc, QString()};
    const QString log = dir.filePath("arrivals.txt");
    std::vector<double> waits, reads, imports;
    for (auto _ : state) {
        state.PauseTiming();
        stack.RemoveCard();
        QFile::remove(log);
        state.ResumeTiming();
        const auto lay = [&] { stack.PlaceCard(image, {"--arrival-log", log}, false); };
        TimeOneRead(
            state, environment, lay,
            [&] {
                QFile arrivals(log);
                if (!arrivals.open(QIODevice::ReadOnly))
                    return std::int64_t{0};
                return static_cast<std::int64_t>(arrivals.readLine().trimmed().toLongLong());
            },
            waits, reads, imports);
    }
    Report(state, waits, reads, imports);
}

BENCHMARK(BM_UsbArrivalToImported)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_PcscArrivalToImported)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
} // namespace
