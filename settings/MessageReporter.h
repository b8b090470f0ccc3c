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
};
