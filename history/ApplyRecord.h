#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <limits>

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
    // Who did something, and on which computer.
    struct Actor {
        QString user;
        QString host;

        bool operator==(const Actor&) const = default;
    };
    // What the paper showed besides the lines, so it can be drawn again.
    struct Paper {
        std::array<QString, 3> claimant; // department, number, name
        // The period the lines were chosen by, local times [from, until).
        std::int64_t from = std::numeric_limits<std::int64_t>::min();
        std::int64_t until = std::numeric_limits<std::int64_t>::max();

        bool operator==(const Paper&) const = default;
    };

    std::int64_t documentTime = 0;
    std::int32_t amount = 0;
    QString snapshotPath;
    // When the user took the application back (local time); 0 while it
    // stands. A cancelled record stays in the history with its snapshot.
    std::int64_t cancelled = 0;
    PrintJob printJob = {};

    // Its number ("A00012"), given once and never changed; records of
    // earlier versions get theirs by their place when read.
    QString id = {};
    std::int64_t printed = 0; // when it was printed (seconds); 0: not recorded
    Actor printedBy = {};
    // SHA-256 of the snapshot as written, in hex; empty: not recorded.
    QString sha256 = {};
    std::int32_t lineCount = -1; // -1: not recorded
    Paper paper = {};
    // Why it was taken back, and by whom.
    QString cancelReason = {};
    Actor cancelledBy = {};

    bool operator==(const ApplyRecord&) const = default;
};
