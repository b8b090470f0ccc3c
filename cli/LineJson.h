#pragma once

#include "EntryInfo.h"

#include <QJsonArray>
#include <QJsonObject>

// Every field of a line under its name: numbers as numbers, dateTime as
// seconds since 1970 UTC, idm as 16 upper-case hex digits, texts as strings.
QJsonObject LineToJson(const EntryInfo& line);
QJsonArray LinesToJson(const std::vector<const EntryInfo*>& lines);
