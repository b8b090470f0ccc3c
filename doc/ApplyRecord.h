#pragma once

#include <QString>
#include <cstdint>

// One printed claim: when its document was made, what it claimed, and the
// snapshot of its claimed lines.
struct ApplyRecord {
    std::int64_t documentTime = 0;
    std::int32_t amount = 0;
    QString snapshotPath;
    // When the user took the application back (local time); 0 while it
    // stands. A cancelled record stays in the history with its snapshot.
    std::int64_t cancelled = 0;

    bool operator==(const ApplyRecord&) const = default;
};
