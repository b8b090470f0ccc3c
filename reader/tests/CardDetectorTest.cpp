#include "CardDetector.h"

#include "CardWaitDialog.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace
{
// A reader whose card lies there from a moment of the test's clock on and
// answers some systems. It either tells the card's arrival (and its wait
// passes the clock) or must be asked.
class ScriptedModule : public CReaderMod
{
public:
    explicit ScriptedModule(std::int64_t& clock) : now(clock) {}

    std::int64_t& now;
    std::int64_t cardFrom = 0;
    std::vector<std::uint16_t> systems = {0x0003};
    bool signals = false;
    bool stopSignalling = false;
    bool readFails = false;
    bool told = false;
    std::vector<std::uint16_t> polled;
    std::vector<std::int64_t> readAt;
    std::uint16_t readWith = 0;

    bool CardThere() const { return now >= cardFrom; }

    int Polling(CardId& idm, CardId&, std::uint16_t code, std::uint8_t, std::uint8_t) override
    {
        polled.push_back(code);
        if (!CardThere() || std::find(systems.begin(), systems.end(), code) == systems.end())
            return 0;
        idm.fill(0xAB);
        return 1;
    }

    int ReadBlocks(const CardId&, std::uint16_t, std::uint16_t code, HistoryBlocks& blocks,
                   std::uint8_t max) override
    {
        readWith = code;
        readAt.push_back(now);
        if (readFails)
            return 0;
        blocks.assign(std::min<int>(max, 3), HistoryBlock{0x16});
        return 1;
    }

    // As a PC/SC reader waits: at once for an arrival not yet told, else
    // until the card arrives or the timeout passes.
    int WaitForCard(int timeoutMs) override
    {
        if (!signals)
            return 1;
        if (stopSignalling) {
            signals = false;
            return 1;
        }
        if (CardThere() && !told) {
            told = true;
            return 1;
        }
        const std::int64_t until = now + timeoutMs;
        now = CardThere() || cardFrom > until ? until : std::max(now, cardFrom);
        told = CardThere();
        return told ? 1 : 0;
    }
    bool SignalsArrival() override { return signals; }
};

// The dialog with a timer the test fires by hand: each Advance() lets the
// timer's interval pass on the test's clock.
class FakeDialog : public CardWaitDialog
{
public:
    explicit FakeDialog(std::int64_t& clock) : now(clock) {}

    bool Run(CardDetector& detector) override
    {
        this->detector = &detector;
        detector.Open();
        return accepted;
    }
    void ShowStatus(const QString& text) override { statuses << text; }
    void ShowSecondsLeft(int seconds) override { countdown.push_back(seconds); }
    void ShowFailure(const QString& text) override { failure = text; }
    void StartTimer(int ms) override { timerMs = ms; }
    void StopTimer() override { timerMs = -1; }
    void Accept() override { accepted = true; }

    // Fires the timer once; false when it is not running.
    bool Advance()
    {
        if (timerMs < 0)
            return false;
        ++ticks;
        now += timerMs;
        detector->Tick();
        return true;
    }
    // Fires the timer until the wait ends (a wait that never ends fails).
    void RunOut()
    {
        for (int i = 0; i < 100'000 && detector->GetState() == CardDetector::State::Waiting; ++i)
            if (!Advance())
                return;
        ASSERT_NE(detector->GetState(), CardDetector::State::Waiting);
    }

    std::int64_t& now;
    CardDetector* detector = nullptr;
    QStringList statuses;
    std::vector<int> countdown;
    QString failure;
    int timerMs = -1;
    int ticks = 0;
    bool accepted = false;
};

struct Fixture {
    std::int64_t now = 1'000'000;
    ScriptedModule module{now};
    FakeDialog dialog{now};
    CardId idm{};
    CardId pmm{};
    HistoryBlocks blocks;

    CardDetector Detector(int pollingTime)
    {
        return CardDetector(module, idm, pmm, blocks, pollingTime, dialog, [this] { return now; });
    }
};
} // namespace

TEST(CardDetector, CardPresentAtOnce)
{
    Fixture f;
    f.module.cardFrom = f.now;
    auto detector = f.Detector(5);
    EXPECT_TRUE(f.dialog.Run(detector));
    EXPECT_EQ(detector.GetState(), CardDetector::State::Read);
    EXPECT_EQ(f.dialog.timerMs, -1);
    EXPECT_EQ(f.dialog.statuses, QStringList({"カード検出中…", "カード読込中…"}));
    EXPECT_EQ(f.blocks.size(), 3u);
}

TEST(CardDetector, AskedReaderFindsACardWithinAPollInterval)
{
    Fixture f;
    f.module.cardFrom = f.now + 2050;
    auto detector = f.Detector(5);
    f.dialog.Run(detector);
    EXPECT_EQ(f.dialog.timerMs, CardDetector::kPollMilliseconds);
    f.dialog.RunOut();
    EXPECT_EQ(detector.GetState(), CardDetector::State::Read);
    EXPECT_TRUE(f.dialog.accepted);
    ASSERT_EQ(f.module.readAt.size(), 1u);
    EXPECT_EQ(f.module.readAt[0] - f.module.cardFrom, 50);
    EXPECT_EQ(f.dialog.timerMs, -1);
}

TEST(CardDetector, ReaderThatTellsArrivalsIsReadAtTheArrival)
{
    Fixture f;
    f.module.signals = true;
    f.module.cardFrom = f.now + 2345;
    auto detector = f.Detector(5);
    f.dialog.Run(detector);
    EXPECT_EQ(f.dialog.timerMs, 0);
    f.dialog.RunOut();
    EXPECT_EQ(detector.GetState(), CardDetector::State::Read);
    ASSERT_EQ(f.module.readAt.size(), 1u);
    EXPECT_EQ(f.module.readAt[0], f.module.cardFrom);
    // Each wait is a slice of at most a poll interval, so a cancel is seen.
    EXPECT_EQ(f.dialog.ticks, 24);
}

TEST(CardDetector, ReaderThatStopsTellingIsAskedInstead)
{
    Fixture f;
    f.module.signals = true;
    f.module.cardFrom = f.now + 10'000;
    auto detector = f.Detector(5);
    f.dialog.Run(detector);
    f.dialog.Advance();
    f.module.stopSignalling = true;
    f.dialog.Advance();
    EXPECT_EQ(f.dialog.timerMs, CardDetector::kPollMilliseconds);
}

TEST(CardDetector, SystemCodesInTurn)
{
    Fixture f;
    f.module.systems = {0x80DE};
    auto detector = f.Detector(5);
    f.dialog.Run(detector);
    EXPECT_EQ(f.module.polled, (std::vector<std::uint16_t>{0x0003, 0x865E, 0x80DE}));
    EXPECT_EQ(f.module.readWith, 0x80DE);
}

TEST(CardDetector, NoCardFailsAfterThePollingTimeCountingDown)
{
    for (bool signals : {false, true}) {
        SCOPED_TRACE(signals ? "tells arrivals" : "asked");
        Fixture f;
        f.module.systems = {};
        f.module.signals = signals;
        auto detector = f.Detector(5);
        const std::int64_t start = f.now;
        EXPECT_FALSE(f.dialog.Run(detector));
        f.dialog.RunOut();
        EXPECT_EQ(detector.GetState(), CardDetector::State::Failed);
        EXPECT_EQ(f.now - start, 5000);
        EXPECT_EQ(f.dialog.countdown, (std::vector<int>{5, 4, 3, 2, 1, 0}));
        EXPECT_TRUE(f.dialog.failure.startsWith("カードの読み込みに失敗しました。\n\n"));
        EXPECT_EQ(f.dialog.timerMs, -1);
        detector.Cancel();
        EXPECT_EQ(detector.GetState(), CardDetector::State::Failed);
    }
}

TEST(CardDetector, FailedReadIsRetriedOnTheNextTick)
{
    Fixture f;
    f.module.readFails = true;
    auto detector = f.Detector(1);
    f.dialog.Run(detector);
    EXPECT_EQ(f.dialog.statuses.last(), "カード検出中…");
    f.module.readFails = false;
    ASSERT_TRUE(f.dialog.Advance());
    EXPECT_EQ(detector.GetState(), CardDetector::State::Read);
}

TEST(CardDetector, CancelStopsTheTimer)
{
    Fixture f;
    f.module.cardFrom = f.now + 60'000;
    auto detector = f.Detector(5);
    f.dialog.Run(detector);
    f.dialog.Advance();
    detector.Cancel();
    EXPECT_EQ(detector.GetState(), CardDetector::State::Cancelled);
    EXPECT_EQ(f.dialog.timerMs, -1);
    const auto polls = f.module.polled.size();
    detector.Tick();
    EXPECT_EQ(f.module.polled.size(), polls);
}
