#pragma once

#include <QString>
#include <cstdint>

// One printed claim: when its document was made, what it claimed, and the
// snapshot of its claimed lines.
struct ApplyRecord {
    std::int64_t documentTime = 0;
    std::int32_t amount = 0;
    QString snapshotPath;

    bool operator==(const ApplyRecord&) const = default;
};
