#pragma once

#include "EntryInfo.h"

class ArchiveReader;
class ArchiveWriter;

// One line record of an expense file. Version 2 added distance, bearing and
// the coordinates; version 3 the payment byte and record byte 3. Fields a
// version lacks keep the values the line already holds.
namespace EntryRecord
{
void Read(ArchiveReader& in, int version, EntryInfo& line);
void Write(ArchiveWriter& out, const EntryInfo& line); // always version 3
} // namespace EntryRecord
