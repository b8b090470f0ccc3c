#pragma once

#include "PcscLite.h"
#include "PcscUnavailable.h"
#include "ReaderSelection.h"

#include <QString>

// Which reader a program reads through: "auto" (the PC/SC service, then the
// vendor library), or the simulated vendor library playing a card image
// ("demo" for the demo card beside the program, "image:FILE").
class ReaderChoice
{
public:
    explicit ReaderChoice(const QString& choice = QStringLiteral("auto"));

    static bool IsValid(const QString& choice);
    bool Simulated() const { return m_simulated; }
    QString CardImage() const { return m_image; }
    ReaderEnvironment& Environment() { return m_environment; }

private:
    PcscLite m_pcsc;
    PcscUnavailable m_noPcsc;
    bool m_simulated;
    QString m_image;
    ReaderEnvironment m_environment;
};
