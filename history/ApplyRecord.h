#pragma once

#include <QString>
#include <cstdint>

// One printed claim: when its document was made, what it claimed, and the
// snapshot of its claimed lines. The first three are what every version of
// the history file holds; the others live in sections after the records.
struct ApplyRecord {
    // The print job that carries the claim's paper, while a print service
    // may still hold it.
    struct PrintJob {
        QString printer;
        std::int32_t id = 0;        // 0: no job known
        std::int64_t submitted = 0; // when it was handed over (seconds, UTC)

        bool operator==(const PrintJob&) const = default;
    };

    std::int64_t documentTime = 0;
    std::int32_t amount = 0;
    QString snapshotPath;
    // When the user took the application back (local time); 0 while it
    // stands. A cancelled record stays in the history with its snapshot.
    std::int64_t cancelled = 0;
    PrintJob printJob = {};

    bool operator==(const ApplyRecord&) const = default;
};
