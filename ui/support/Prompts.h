#pragma once

#include "MessageReporter.h"

#include <QString>
#include <QStringList>

// Everything the program asks the user through a modal box: messages,
// questions and the file dialogs. The desktop program shows Qt's boxes
// titled "Fenwir Lite"; tests answer from a script.
class Prompts : public MessageReporter
{
public:
    enum class Answer { Ok, Yes, No, Cancel };
    enum class Buttons { Ok, YesNo, YesNoCancel };

    virtual Answer Ask(const QString& text, Icon icon, Buttons buttons) = 0;
    // A file name to save to, proposed in a folder; empty when cancelled.
    // The filter is Qt's form ("交通費ファイル (*.ent)").
    virtual QString SaveFileName(const QString& title, const QString& proposal,
                                 const QString& filter, const QString& defaultSuffix) = 0;
    virtual QString OpenFileName(const QString& title, const QString& folder,
                                 const QStringList& filters) = 0;

    void Report(int, const QString& text, Icon icon) override { Ask(text, icon, Buttons::Ok); }
};
