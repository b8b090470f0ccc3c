#pragma once

#include "ApplyRecord.h"

#include <QByteArray>
#include <vector>

// What the application history holds.
struct HistoryContents {
    std::vector<ApplyRecord> records; // oldest first
    // Sections a later version wrote after ours, kept as they are.
    QByteArray later;

    bool operator==(const HistoryContents&) const = default;
};
