#pragma once

#include "EntryInfo.h"

#include <QJsonArray>
#include <QJsonObject>
#include <functional>

// Every field of a line under its name: numbers as numbers, dateTime as
// seconds since 1970 UTC, idm as 16 upper-case hex digits, texts as strings.
QJsonObject LineToJson(const EntryInfo& line);
// With a test of whether a recorded application claimed the line, each line
// also says "applied": true or false.
QJsonArray LinesToJson(const std::vector<const EntryInfo*>& lines,
                       const std::function<bool(const EntryInfo&)>& applied = {});
