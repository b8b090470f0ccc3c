#pragma once

#include "CardImage.h"

// A card with the given number of history records (record n has bytes 0-1
// = 16 01 and byte 15 = n, so blocks can be told apart).
inline CardImage TestCard(int records, std::vector<std::uint16_t> systems = {0x0003})
{
    CardImage image;
    image.idm = {0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x5C, 0x6D};
    image.pmm = {0x10, 0x0B, 0x4B, 0x42, 0x84, 0x85, 0xD0, 0xFF};
    image.systemCodes = std::move(systems);
    for (int n = 0; n < records; ++n)
        image.history.push_back(HistoryBlock{0x16, 0x01, 0, 0, 0x35, 0x62, 1, 0x10, 1, 0x20, 0xE8,
                                             0x03, 0, 0, static_cast<std::uint8_t>(n),
                                             static_cast<std::uint8_t>(n)});
    return image;
}
