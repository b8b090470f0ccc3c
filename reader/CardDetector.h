#pragma once

#include "CReaderMod.h"

#include <QString>
#include <array>
#include <cstdint>

class CardWaitDialog;

// The waiting for a card behind the detection dialog: one try at once, then
// one every 500 ms until twice the polling time in ticks has passed. Each try
// polls the transit system codes in turn and reads the history with the code
// that answered.
class CardDetector
{
public:
    enum class State { Waiting, Read, Failed, Cancelled };

    static constexpr std::array<std::uint16_t, 4> kSystemCodes = {0x0003, 0x865E, 0x80DE, 0x8592};
    static constexpr std::uint16_t kHistoryService = 0x090F;
    static constexpr std::uint8_t kMaxBlocks = 20;
    static constexpr int kTickMilliseconds = 500;

    CardDetector(CReaderMod& module, CardId& idm, CardId& pmm, HistoryBlocks& blocks,
                 int pollingTime, CardWaitDialog& dialog);

    void Open();   // the dialog has opened
    void Tick();   // a timer tick
    void Cancel(); // the user closed the dialog
    State GetState() const { return m_state; }

    static QString DetectingText() { return QStringLiteral("カード検出中…"); }
    static QString ReadingText() { return QStringLiteral("カード読込中…"); }
    static QString FailedText()
    {
        return QStringLiteral("カードの読み込みに失敗しました。\n\nカードが正しく置かれていることを"
                              "確認してください。");
    }

private:
    bool TryRead();
    void Fail();

    CReaderMod& m_module;
    CardId& m_idm;
    CardId& m_pmm;
    HistoryBlocks& m_blocks;
    int m_pollingTime;
    CardWaitDialog& m_dialog;
    int m_remainingTicks = 0;
    bool m_timerRunning = false;
    State m_state = State::Waiting;
};
