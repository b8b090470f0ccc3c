#pragma once

#include "EntryInfo.h"

// Lines for document tests: every field set to a value of its own.
EntryInfo SampleCardLine(int serial);
EntryLines SampleLines(int count, int claimedEvery = 1);
