#include "ReaderCommands.h"

#include "CliContext.h"
#include "CommandLine.h"
#include "Console.h"
#include "ReaderChoice.h"
#include "ReaderSurvey.h"

int ReaderCommands::Readers(const CommandLine& line, CliContext&)
{
    if (!line.Positionals().isEmpty())
        return Console::kUsage;
    ReaderChoice choice;
    const ReaderSurvey survey = ReaderSurvey::Take(choice.Environment());
    Console::Out(survey.Text());
    // Scripts can tell whether a read would find a reader at all.
    return survey.Chosen().isEmpty() ? Console::kFailed : Console::kOk;
}
