#pragma once

#include "Prompts.h"

// Prompts for benchmarks: every question is answered yes, no file is chosen.
class SilentPrompts : public Prompts
{
public:
    Answer Ask(const QString&, Icon, Buttons) override { return Answer::Yes; }
    QString SaveFileName(const QString&, const QString&, const QString&, const QString&) override
    {
        return QString();
    }
    QString OpenFileName(const QString&, const QString&, const QStringList&) override
    {
        return QString();
    }
};
