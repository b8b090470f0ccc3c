#pragma once

#include <QString>

class CardDetector;

// The detection dialog as the read sees it. The GUI shows it modally; the
// command line waits in the terminal; tests drive the ticks themselves.
class CardWaitDialog
{
public:
    virtual ~CardWaitDialog() = default;

    // Runs modally: calls detector.Open() at once, detector.Tick() whenever
    // the timer fires, detector.Cancel() when the user closes it. True when
    // the dialog was accepted (a card was read).
    virtual bool Run(CardDetector& detector) = 0;

    virtual void ShowStatus(const QString& text) = 0;
    // How many whole seconds the wait has left; shown as a countdown.
    virtual void ShowSecondsLeft(int /*seconds*/) {}
    // The failure state: message, stop icon, beep, the button says "OK".
    virtual void ShowFailure(const QString& text) = 0;
    virtual void StartTimer(int milliseconds) = 0;
    virtual void StopTimer() = 0;
    virtual void Accept() = 0;
};
