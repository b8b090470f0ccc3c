#pragma once

class CliContext;
class CommandLine;

// show, csv and print: what a saved claim becomes.
namespace DocumentCommands
{
int Show(const CommandLine& line, CliContext& context);
int Csv(const CommandLine& line, CliContext& context);
int Print(const CommandLine& line, CliContext& context);
} // namespace DocumentCommands
