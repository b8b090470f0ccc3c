#pragma once

class CliContext;
class CommandLine;

// read, import-dump and the run command's demo: a card's history into a claim.
namespace CardCommands
{
int Read(const CommandLine& line, CliContext& context);
int ImportDump(const CommandLine& line, CliContext& context);
int Demo(const CommandLine& line, CliContext& context);
} // namespace CardCommands
