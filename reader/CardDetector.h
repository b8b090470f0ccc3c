#pragma once

#include "CReaderMod.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class CardWaitDialog;

// The waiting for a card behind the detection dialog: one try at once, then
// until the polling time has passed. A reader that tells a card's arrival is
// waited on (in slices, so the dialog stays responsive); any other is asked
// every 100 ms. Each try polls the transit system codes in turn and reads
// the history with the code that answered.
class CardDetector
{
public:
    enum class State { Waiting, Read, Failed, Cancelled };
    // Milliseconds on a steady clock.
    using Clock = std::function<std::int64_t()>;

    static constexpr std::array<std::uint16_t, 4> kSystemCodes = {0x0003, 0x865E, 0x80DE, 0x8592};
    static constexpr std::uint16_t kHistoryService = 0x090F;
    static constexpr std::uint8_t kMaxBlocks = 20;
    // The longest a card lies unnoticed on a reader that must be asked, and
    // the longest slice of waiting on one that tells.
    static constexpr int kPollMilliseconds = 100;

    CardDetector(CReaderMod& module, CardId& idm, CardId& pmm, HistoryBlocks& blocks,
                 int pollingTime, CardWaitDialog& dialog, Clock clock = SteadyClock());

    void Open();   // the dialog has opened
    void Tick();   // a timer tick
    void Cancel(); // the user closed the dialog
    State GetState() const { return m_state; }

    static Clock SteadyClock();
    static QString InstructionText()
    {
        return QStringLiteral("カードをリーダーにかざしてください");
    }
    static QString DetectingText() { return QStringLiteral("カード検出中…"); }
    static QString ReadingText() { return QStringLiteral("カード読込中…"); }
    static QString FailedText()
    {
        return QStringLiteral("カードの読み込みに失敗しました。\n\nカードが正しく置かれていることを"
                              "確認してください。");
    }

private:
    bool TryRead();
    void Finish(State state);
    void StartTimer();
    void ShowCountdown(std::int64_t remaining);
    int Interval();

    CReaderMod& m_module;
    CardId& m_idm;
    CardId& m_pmm;
    HistoryBlocks& m_blocks;
    int m_pollingTime;
    CardWaitDialog& m_dialog;
    Clock m_clock;
    std::int64_t m_deadline = 0;
    int m_secondsShown = -1;
    int m_interval = -1;
    bool m_timerRunning = false;
    State m_state = State::Waiting;
};
