#pragma once

class CliContext;
class CommandLine;

// applications: the recorded applications, and taking one back.
namespace ApplicationCommands
{
int Applications(const CommandLine& line, CliContext& context);
} // namespace ApplicationCommands
