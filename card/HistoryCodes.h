#pragma once

#include <QString>
#include <cstdint>

// Texts of the history record's terminal byte (0) and process byte (1);
// codes not listed give an empty text.
QString TerminalTypeText(std::uint8_t code);
QString ProcessTypeText(std::uint8_t code);

// How the decoding reads a record's bytes 6-9.
enum class RecordClass { Shop, Bus, Rail };
// Shop first, so a record that is both is a shop record.
RecordClass ClassifyRecord(std::uint8_t terminalType, std::uint8_t processType);
// How the import completes a decoded line, and so what its names hold: a bus
// line names its stop, line and operator on the exit side; a shop line names
// nothing. Bus comes first here, and 72 is a shop code, unlike the decoding.
enum class ImportClass { Bus, Shop, Rail };
ImportClass ClassifyForImport(std::uint8_t terminalType, std::uint8_t processType);
// Only these terminals store a time of day in bytes 6-7.
bool HasTimeOfDay(std::uint8_t terminalType);
