#pragma once

class CliContext;
class CommandLine;

// stations lookup / bus / import / correct / corrections.
namespace StationCommands
{
int Run(const CommandLine& line, CliContext& context);
} // namespace StationCommands
