#pragma once

class CliContext;
class CommandLine;

// applications: the recorded applications, taking one back, and making a
// damaged history whole.
namespace ApplicationCommands
{
int Applications(const CommandLine& line, CliContext& context);
} // namespace ApplicationCommands
