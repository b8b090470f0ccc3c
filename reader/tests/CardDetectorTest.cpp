#include "CardDetector.h"

#include "CardWaitDialog.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace
{
// A reader whose card appears after a number of polls and answers some systems.
class ScriptedModule : public CReaderMod
{
public:
    int pollsBeforeCard = 0;
    std::vector<std::uint16_t> systems = {0x0003};
    bool readFails = false;
    std::vector<std::uint16_t> polled;
    std::uint16_t readWith = 0;

    int Polling(CardId& idm, CardId&, std::uint16_t code, std::uint8_t, std::uint8_t) override
    {
        polled.push_back(code);
        if (pollsBeforeCard > 0) {
            --pollsBeforeCard;
            return 0;
        }
        if (std::find(systems.begin(), systems.end(), code) == systems.end())
            return 0;
        idm.fill(0xAB);
        return 1;
    }

    int ReadBlocks(const CardId&, std::uint16_t, std::uint16_t code, HistoryBlocks& blocks,
                   std::uint8_t max) override
    {
        readWith = code;
        if (readFails)
            return 0;
        blocks.assign(std::min<int>(max, 3), HistoryBlock{0x16});
        return 1;
    }
};

// The dialog with a clock the test turns by hand: each Advance() is 500 ms.
class FakeDialog : public CardWaitDialog
{
public:
    bool Run(CardDetector& detector) override
    {
        this->detector = &detector;
        detector.Open();
        return accepted;
    }
    void ShowStatus(const QString& text) override { statuses << text; }
    void ShowFailure(const QString& text) override { failure = text; }
    void StartTimer(int ms) override { timerMs = ms; }
    void StopTimer() override { timerMs = 0; }
    void Accept() override { accepted = true; }

    // Lets the timer fire; false when it is not running.
    bool Advance()
    {
        if (timerMs == 0)
            return false;
        ++ticks;
        detector->Tick();
        return true;
    }

    CardDetector* detector = nullptr;
    QStringList statuses;
    QString failure;
    int timerMs = 0;
    int ticks = 0;
    bool accepted = false;
};

struct Fixture {
    ScriptedModule module;
    FakeDialog dialog;
    CardId idm{};
    CardId pmm{};
    HistoryBlocks blocks;
};
} // namespace

TEST(CardDetector, CardPresentAtOnce)
{
    Fixture f;
    CardDetector detector(f.module, f.idm, f.pmm, f.blocks, 5, f.dialog);
    EXPECT_TRUE(f.dialog.Run(detector));
    EXPECT_EQ(detector.GetState(), CardDetector::State::Read);
    EXPECT_EQ(f.dialog.timerMs, 0);
    EXPECT_EQ(f.dialog.statuses, QStringList({"カード検出中…", "カード読込中…"}));
    EXPECT_EQ(f.blocks.size(), 3u);
}

TEST(CardDetector, CardPlacedAfterTwoSeconds)
{
    Fixture f;
    f.module.pollsBeforeCard = 4 * 5; // four attempts of four systems each: 0, 0.5, 1, 1.5 s
    CardDetector detector(f.module, f.idm, f.pmm, f.blocks, 5, f.dialog);
    f.dialog.Run(detector);
    EXPECT_EQ(f.dialog.timerMs, 500);
    while (f.dialog.Advance() && detector.GetState() == CardDetector::State::Waiting) {
    }
    EXPECT_EQ(detector.GetState(), CardDetector::State::Read);
    EXPECT_TRUE(f.dialog.accepted);
    EXPECT_EQ(f.dialog.ticks, 5); // the try at 2.5 s: polls 20 fail, the 21st answers
    EXPECT_EQ(f.dialog.timerMs, 0);
}

TEST(CardDetector, SystemCodesInTurn)
{
    Fixture f;
    f.module.systems = {0x80DE};
    CardDetector detector(f.module, f.idm, f.pmm, f.blocks, 5, f.dialog);
    f.dialog.Run(detector);
    EXPECT_EQ(f.module.polled, (std::vector<std::uint16_t>{0x0003, 0x865E, 0x80DE}));
    EXPECT_EQ(f.module.readWith, 0x80DE);
}

TEST(CardDetector, NoCardFailsAfterThePollingTime)
{
    Fixture f;
    f.module.systems = {};
    CardDetector detector(f.module, f.idm, f.pmm, f.blocks, 5, f.dialog);
    EXPECT_FALSE(f.dialog.Run(detector));
    while (f.dialog.Advance()) {
    }
    EXPECT_EQ(detector.GetState(), CardDetector::State::Failed);
    EXPECT_EQ(f.dialog.ticks, 10);               // 5 seconds
    EXPECT_EQ(f.module.polled.size(), 10u * 4u); // one attempt at once, nine on ticks
    EXPECT_TRUE(f.dialog.failure.startsWith("カードの読み込みに失敗しました。\n\n"));
    detector.Cancel();
    EXPECT_EQ(detector.GetState(), CardDetector::State::Failed);
}

TEST(CardDetector, FailedReadIsRetriedOnTheNextTick)
{
    Fixture f;
    f.module.readFails = true;
    CardDetector detector(f.module, f.idm, f.pmm, f.blocks, 1, f.dialog);
    f.dialog.Run(detector);
    f.module.readFails = false;
    ASSERT_TRUE(f.dialog.Advance());
    EXPECT_EQ(detector.GetState(), CardDetector::State::Read);
}

TEST(CardDetector, CancelStopsTheTimer)
{
    Fixture f;
    f.module.systems = {};
    CardDetector detector(f.module, f.idm, f.pmm, f.blocks, 5, f.dialog);
    f.dialog.Run(detector);
    f.dialog.Advance();
    detector.Cancel();
    EXPECT_EQ(detector.GetState(), CardDetector::State::Cancelled);
    EXPECT_EQ(f.dialog.timerMs, 0);
    const auto polls = f.module.polled.size();
    detector.Tick();
    EXPECT_EQ(f.module.polled.size(), polls);
}
