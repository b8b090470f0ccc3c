#pragma once

#include <QString>
#include <cstdint>

// The raw view of one decoded record, kept for the last successful read.
struct CardHistoryRow {
    std::int64_t dateTime = 0;
    QString terminalText;
    QString processText;
    std::int32_t deposit = 0;
    std::int32_t payment = 0;
    std::int32_t balance = 0;

    bool operator==(const CardHistoryRow&) const = default;
};
