#pragma once

#include "CardInfo.h"

#include <QString>
#include <cstdint>
#include <vector>

class AppSettings;
class CardReadJob;
class MessageReporter;

// Merges the job's blocks into the document's lines: decodes them oldest
// first, drops the records the document already holds, names the stations and
// appends the new lines at the end; the history rows become this read's.
// The oldest record's fare comes from the record before it when the document
// holds that one under one of cardIds (the card's own ID when none are given),
// as one read of the whole history would give it.
// Returns the newest block's balance, or -1 without blocks. Throws
// BlockDecodeError when a block cannot be decoded; the document's lines and
// history rows are then as they were before.
std::int32_t ImportHistory(CardReadJob& job, const QString& connectString, const QString& password,
                           const AppSettings& settings, MessageReporter& messages,
                           const std::vector<CardId>& cardIds = {});

// Straight-line distance (whole metres) and compass bearing (degrees clockwise
// from north, 0 <= bearing < 360) from the entry to the exit point, on a flat
// earth around the entry point.
void ComputeDistanceBearing(double entryLatitude, double entryLongitude, double exitLatitude,
                            double exitLongitude, std::int32_t& distance, float& bearing);

// The message shown when the station database cannot be opened.
constexpr int kStationDbFailedMessage = 146;
