#pragma once

#include "CardWaitDialog.h"

// The detection dialog in a terminal: says what it does on standard error and
// lets the timer's interval pass itself between ticks. It ends at the
// failure state.
class TerminalWaitDialog : public CardWaitDialog
{
public:
    bool Run(CardDetector& detector) override;
    void ShowStatus(const QString& text) override;
    void ShowFailure(const QString& text) override;
    void StartTimer(int milliseconds) override;
    void StopTimer() override { m_running = false; }
    void Accept() override { m_accepted = true; }

private:
    int m_interval = 0;
    bool m_running = false;
    bool m_accepted = false;
};
