#pragma once

class CliContext;
class CommandLine;

// readers: what is attached and how each reader would be read, or why not.
namespace ReaderCommands
{
int Readers(const CommandLine& line, CliContext& context);
} // namespace ReaderCommands
