#include "ScriptedPrompts.h"

Prompts::Answer ScriptedPrompts::Ask(const QString& text, Icon, Buttons buttons)
{
    asked << text;
    if (answers.empty())
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedPrompts::SaveFileName(const QString&, const QString& proposal, const QString&,
                                      const QString&)
{
    proposals << proposal;
    if (fileNames.empty())
        return QString();
    const QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString ScriptedPrompts::OpenFileName(const QString&, const QString& folder, const QStringList&)
{
    proposals << folder;
    if (fileNames.empty())
        return QString();
    const QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}
