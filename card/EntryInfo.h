#pragma once

#include "CardInfo.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// One expense line: a decoded card record, or a line the user added by hand.
struct EntryInfo {
    static constexpr std::uint8_t kManualCode = 0xFF;

    std::uint8_t hidden = 0;
    std::uint8_t applyFlag = 0;
    CardId idm{};
    std::uint8_t terminalType = 0;
    std::uint8_t processType = 0;
    std::uint8_t paymentType = 0;
    std::uint8_t recordByte3 = 0;
    // The fare beside the codes and the date: every fill and total of a list
    // reads these, so they share a cache line.
    std::int32_t fare = 0;
    std::int64_t dateTime = 0;
    std::uint8_t entryArea = 0;
    std::int32_t entryLine = 0;
    std::int32_t entryStation = 0;
    QString entryStationName;
    QString entryLineName;
    QString entryCompanyName;
    double entryLatitude = 0;
    double entryLongitude = 0;
    std::uint8_t exitArea = 0;
    std::int32_t exitLine = 0;
    std::int32_t exitStation = 0;
    QString exitStationName;
    QString exitLineName;
    QString exitCompanyName;
    double exitLatitude = 0;
    double exitLongitude = 0;
    std::int32_t balance = 0;
    std::int32_t serialNumber = 0;
    std::int32_t regionByte = 0;
    std::int32_t distance = 0;
    float bearing = 0;
    QString visitDestination;
    QString remarks;
    // The visit destination was filled in from the one remembered for the
    // exit station and the user has not confirmed it yet. Kept beside the
    // line records of an expense file, where earlier versions do not look.
    bool visitSuggested = false;
    // The card did not hold the fare: the oldest record of a read has no
    // balance before it to take the fare from. fare is then 0, as earlier
    // versions store it, and means nothing. Kept beside the line records of
    // an expense file, as visitSuggested is.
    bool fareUnknown = false;

    // A blank line: texts empty, every number zero.
    EntryInfo() = default;
    // A line added by hand at the given moment: claimed, codes 0xFF.
    static EntryInfo ManualLine(std::int64_t now);

    bool IsManual() const { return terminalType == kManualCode && processType == kManualCode; }
    // The visit destination as the user stated it: a suggestion never
    // confirmed is none, so print, export and the record leave it out.
    QString StatedVisit() const { return visitSuggested ? QString() : visitDestination; }

    bool operator==(const EntryInfo&) const = default;
};

// Lines are owned one by one, so views may keep pointers to them.
using EntryLines = std::vector<std::unique_ptr<EntryInfo>>;
