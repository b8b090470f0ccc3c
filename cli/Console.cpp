#include "Console.h"

#include <cstdio>

void Console::Out(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

void Console::Err(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

int Console::Fail(const QString& reason)
{
    QString line = reason;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    Err(QStringLiteral("fenwir-cli: %1\n").arg(line));
    return kFailed;
}

void ConsoleReporter::Report(int, const QString& text, Icon)
{
    Console::Err(QStringLiteral("fenwir-cli: %1\n").arg(text));
}
