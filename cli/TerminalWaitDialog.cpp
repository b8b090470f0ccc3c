#include "TerminalWaitDialog.h"

#include "CardDetector.h"
#include "Console.h"

#include <QThread>

bool TerminalWaitDialog::Run(CardDetector& detector)
{
    detector.Open();
    while (!m_accepted && m_interval > 0 && detector.GetState() == CardDetector::State::Waiting) {
        QThread::msleep(static_cast<unsigned long>(m_interval));
        detector.Tick();
    }
    return m_accepted;
}

void TerminalWaitDialog::ShowStatus(const QString& text)
{
    Console::Err(text + QLatin1Char('\n'));
}

void TerminalWaitDialog::ShowFailure(const QString& text)
{
    Console::Err(text + QLatin1Char('\n'));
}
