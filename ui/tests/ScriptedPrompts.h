#pragma once

#include "Prompts.h"

#include <QStringList>
#include <deque>

// Answers the program's questions from a script and keeps what was asked.
class ScriptedPrompts : public Prompts
{
public:
    Answer Ask(const QString& text, Icon icon, Buttons buttons) override;
    QString SaveFileName(const QString& title, const QString& proposal, const QString& filter,
                         const QString& defaultSuffix) override;
    QString OpenFileName(const QString& title, const QString& folder,
                         const QStringList& filters) override;

    std::deque<Answer> answers;    // next answers; Ok/Cancel when empty
    std::deque<QString> fileNames; // next file names; empty (cancel) when none
    QStringList asked;
    QStringList proposals;
};
