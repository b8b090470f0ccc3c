#pragma once

class CliContext;
class CommandLine;

// stations lookup / bus / import.
namespace StationCommands
{
int Run(const CommandLine& line, CliContext& context);
} // namespace StationCommands
