#pragma once

#include "EntryInfo.h"

#include <QByteArray>
#include <QString>

// Lines for document tests: every field set to a value of its own.
EntryInfo SampleCardLine(int serial);
EntryLines SampleLines(int count, int claimedEvery = 1);

// A file's bytes, empty when it cannot be read; writing fails the test.
QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);
