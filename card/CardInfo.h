#pragma once

#include <array>
#include <cstdint>

using CardId = std::array<std::uint8_t, 8>;

// The card last read into a document. Never stored in a file.
struct CardInfo {
    static constexpr std::uint16_t kNoCard = 0;
    static constexpr std::uint16_t kRead = 3;

    std::uint16_t kind = kNoCard;
    CardId idm{};
    CardId pmm{};
};
