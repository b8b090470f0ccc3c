#pragma once

#include "CReaderMod.h"

#include <QString>
#include <memory>

class PcscApi;

// The PC/SC readers the program drives, matched by a case-sensitive part of
// the reader's name; the first matching row wins.
namespace KnownReaders
{
// An unrecognised contactless reader that speaks PC/SC Part 3.
constexpr int kPart3Model = 9;
// Readers of makers whose FeliCa commands the program speaks (PcscFamilies).
constexpr int kAcr122Model = 10;
constexpr int kAcsDirectModel = 11;
constexpr int kIdentivModel = 12;

// 1-8, or 0 when the name matches no row.
int ModelIndex(const QString& readerName);
// The module for a row: CPcscCloud for 2-5, CPcscMrica for 8, CPcscPart3 for
// kPart3Model, the family modules for theirs, CPcscMod otherwise.
std::unique_ptr<CReaderMod> CreateModule(int modelIndex, PcscApi& pcsc, const QString& readerName);
// How a reader of the model is read, for the user.
QString Describe(int modelIndex);
} // namespace KnownReaders
