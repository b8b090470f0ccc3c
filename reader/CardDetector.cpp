#include "CardDetector.h"

#include "CardWaitDialog.h"

#include <algorithm>
#include <chrono>

CardDetector::CardDetector(CReaderMod& module, CardId& idm, CardId& pmm, HistoryBlocks& blocks,
                           int pollingTime, CardWaitDialog& dialog, Clock clock)
    : m_module(module), m_idm(idm), m_pmm(pmm), m_blocks(blocks), m_pollingTime(pollingTime),
      m_dialog(dialog), m_clock(std::move(clock))
{
}

CardDetector::Clock CardDetector::SteadyClock()
{
    return [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
}

bool CardDetector::TryRead()
{
    for (std::uint16_t code : kSystemCodes) {
        if (!m_module.Polling(m_idm, m_pmm, code, 0, 0))
            continue;
        m_dialog.ShowStatus(ReadingText());
        m_blocks.clear();
        if (m_module.ReadBlocks(m_idm, kHistoryService, code, m_blocks, kMaxBlocks) != 0)
            return true;
        m_dialog.ShowStatus(DetectingText());
        return false;
    }
    return false;
}

int CardDetector::Interval()
{
    return m_module.SignalsArrival() ? 0 : kPollMilliseconds;
}

void CardDetector::StartTimer()
{
    m_interval = Interval();
    m_timerRunning = true;
    m_dialog.StartTimer(m_interval);
}

void CardDetector::Finish(State state)
{
    if (m_timerRunning) {
        m_timerRunning = false;
        m_dialog.StopTimer();
    }
    m_state = state;
    if (state == State::Read)
        m_dialog.Accept();
    else if (state == State::Failed)
        m_dialog.ShowFailure(FailedText());
}

void CardDetector::ShowCountdown(std::int64_t remaining)
{
    const int seconds = static_cast<int>((std::max<std::int64_t>(remaining, 0) + 999) / 1000);
    if (seconds == m_secondsShown)
        return;
    m_secondsShown = seconds;
    m_dialog.ShowSecondsLeft(seconds);
}

void CardDetector::Open()
{
    m_deadline = m_clock() + std::int64_t{m_pollingTime} * 1000;
    m_dialog.ShowStatus(DetectingText());
    if (TryRead()) {
        Finish(State::Read);
        return;
    }
    if (m_pollingTime <= 0) {
        Finish(State::Failed);
        return;
    }
    ShowCountdown(m_deadline - m_clock());
    StartTimer();
}

void CardDetector::Tick()
{
    if (m_state != State::Waiting || !m_timerRunning)
        return;
    std::int64_t remaining = m_deadline - m_clock();
    ShowCountdown(remaining);
    if (remaining <= 0) {
        Finish(State::Failed);
        return;
    }
    const int slice = static_cast<int>(std::min<std::int64_t>(remaining, kPollMilliseconds));
    if (m_module.WaitForCard(slice) && TryRead()) {
        Finish(State::Read);
        return;
    }
    remaining = m_deadline - m_clock();
    ShowCountdown(remaining);
    if (remaining <= 0)
        Finish(State::Failed);
    else if (Interval() != m_interval)
        StartTimer(); // the reader can no longer tell arrivals: ask it instead
}

void CardDetector::Cancel()
{
    if (m_state == State::Waiting)
        Finish(State::Cancelled);
}
