#pragma once

#include <array>
#include <cstdint>
#include <vector>

// One 16-byte record of the card's transit history service (0x090F), as read.
using HistoryBlock = std::array<std::uint8_t, 16>;
// A read's records in block order: block 0 is the most recent.
using HistoryBlocks = std::vector<HistoryBlock>;
