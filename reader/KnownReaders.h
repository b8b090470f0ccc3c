#pragma once

#include "CReaderMod.h"

#include <QString>
#include <memory>

class PcscApi;

// The PC/SC readers the program drives, matched by a case-sensitive part of
// the reader's name; the first matching row wins.
namespace KnownReaders
{
// 1-8, or 0 when the name matches no row.
int ModelIndex(const QString& readerName);
// The module for a row: CPcscCloud for 2-5, CPcscMrica for 8, CPcscMod otherwise.
std::unique_ptr<CReaderMod> CreateModule(int modelIndex, PcscApi& pcsc, const QString& readerName);
} // namespace KnownReaders
