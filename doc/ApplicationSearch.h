#pragma once

#include "AppliedLines.h"

#include <QString>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

// Which recorded applications to list: printed within a period, of an
// amount within a range, holding a text in a line's 訪問先, 備考, stations,
// lines or companies. Every criterion left out matches all.
struct ApplicationSearch {
    // The print time, local times [from, until).
    std::int64_t from = std::numeric_limits<std::int64_t>::min();
    std::int64_t until = std::numeric_limits<std::int64_t>::max();
    std::optional<std::int64_t> minAmount;
    std::optional<std::int64_t> maxAmount;
    QString text;

    bool Matches(const AppliedLines::Application& application) const;
    std::vector<AppliedLines::Application>
    Filter(const std::vector<AppliedLines::Application>& applications) const;

    // What the matches come to: how many, how many of them were taken back,
    // and the total of those that stand.
    struct Summary {
        std::size_t count = 0;
        std::size_t cancelled = 0;
        std::int64_t total = 0;
    };
    static Summary Summarize(const std::vector<AppliedLines::Application>& applications);
    // "該当 3件　合計 4,540円（取消 1件を除く）"
    static QString SummaryText(const Summary& summary);
};
