#include "CardDetector.h"

#include "CardWaitDialog.h"

CardDetector::CardDetector(CReaderMod& module, CardId& idm, CardId& pmm, HistoryBlocks& blocks,
                           int pollingTime, CardWaitDialog& dialog)
    : m_module(module), m_idm(idm), m_pmm(pmm), m_blocks(blocks), m_pollingTime(pollingTime),
      m_dialog(dialog)
{
}

bool CardDetector::TryRead()
{
    for (std::uint16_t code : kSystemCodes) {
        if (!m_module.Polling(m_idm, m_pmm, code, 0, 0))
            continue;
        m_dialog.ShowStatus(ReadingText());
        m_blocks.clear();
        return m_module.ReadBlocks(m_idm, kHistoryService, code, m_blocks, kMaxBlocks) != 0;
    }
    return false;
}

void CardDetector::Fail()
{
    m_state = State::Failed;
    m_dialog.ShowFailure(FailedText());
}

void CardDetector::Open()
{
    m_dialog.ShowStatus(DetectingText());
    if (TryRead()) {
        m_state = State::Read;
        m_dialog.Accept();
        return;
    }
    if (m_pollingTime <= 0) {
        Fail();
        return;
    }
    m_remainingTicks = 2 * m_pollingTime;
    m_timerRunning = true;
    m_dialog.StartTimer(kTickMilliseconds);
}

void CardDetector::Tick()
{
    if (m_state != State::Waiting || !m_timerRunning)
        return;
    if (--m_remainingTicks <= 0) {
        m_timerRunning = false;
        m_dialog.StopTimer();
        Fail();
        return;
    }
    if (TryRead()) {
        m_timerRunning = false;
        m_dialog.StopTimer();
        m_state = State::Read;
        m_dialog.Accept();
    }
}

void CardDetector::Cancel()
{
    if (m_timerRunning) {
        m_timerRunning = false;
        m_dialog.StopTimer();
    }
    if (m_state == State::Waiting)
        m_state = State::Cancelled;
}
