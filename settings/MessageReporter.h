#pragma once

#include <QString>

// How the core tells the user of a failure without knowing any widgets: the
// GUI shows a message box titled "Fenwir Lite", the command line prints it.
class MessageReporter
{
public:
    enum class Icon { Exclamation, Stop, Information, Question, None };

    virtual ~MessageReporter() = default;
    // id is the message's number in the string table, text its words.
    virtual void Report(int id, const QString& text, Icon icon) = 0;
    // The same with details for whoever looks after the machine (commands,
    // codes): a box shows them on request; otherwise they follow the text.
    virtual void ReportWithDetails(int id, const QString& text, const QString& details, Icon icon)
    {
        Report(id, details.isEmpty() ? text : text + QStringLiteral("\n\n") + details, icon);
    }
};
