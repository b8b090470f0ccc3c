#pragma once

#include "MessageReporter.h"

#include <QString>

// Output of the command line: results on standard output, reasons on
// standard error, both UTF-8.
namespace Console
{
void Out(const QString& text);
void Err(const QString& text);

// Exit statuses.
constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Prints the one-line reason and returns kFailed.
int Fail(const QString& reason);
} // namespace Console

// The core's messages, printed on standard error.
class ConsoleReporter : public MessageReporter
{
public:
    void Report(int id, const QString& text, Icon icon) override;
};
