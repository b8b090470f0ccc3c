#include "TerminalWaitDialog.h"

#include "CardDetector.h"
#include "Console.h"

#include <QThread>

bool TerminalWaitDialog::Run(CardDetector& detector)
{
    Console::Err(CardDetector::InstructionText() + QLatin1Char('\n'));
    detector.Open();
    while (m_running && detector.GetState() == CardDetector::State::Waiting) {
        // A reader that tells arrivals waits inside the tick itself.
        if (m_interval > 0)
            QThread::msleep(static_cast<unsigned long>(m_interval));
        detector.Tick();
    }
    return m_accepted;
}

void TerminalWaitDialog::StartTimer(int milliseconds)
{
    m_interval = milliseconds;
    m_running = true;
}

void TerminalWaitDialog::ShowStatus(const QString& text)
{
    Console::Err(text + QLatin1Char('\n'));
}

void TerminalWaitDialog::ShowFailure(const QString& text)
{
    Console::Err(text + QLatin1Char('\n'));
}
