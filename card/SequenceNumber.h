#pragma once

#include <cstdint>

// A card numbers its records with a 16-bit counter that wraps from 0xFFFF
// to 0: numbers are compared modulo 2^16, never as plain integers.
namespace SequenceNumber
{
// The counter's value in a line's serial number.
inline std::uint16_t Of(std::int32_t serial)
{
    return static_cast<std::uint16_t>(serial & 0xFFFF);
}

inline bool Same(std::int32_t a, std::int32_t b)
{
    return Of(a) == Of(b);
}

// Whether b is the number right after a.
inline bool Follows(std::int32_t a, std::int32_t b)
{
    return static_cast<std::uint16_t>(Of(b) - Of(a)) == 1;
}

// How far a record's number lies after (positive) or before (negative) a
// reference number, the nearer way round the counter. Records of a few days
// lie well within half its range of each other, so ordering them by this
// offset from one of them is ordering them as the card made them.
inline int Offset(std::int32_t serial, std::int32_t reference)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(Of(serial) - Of(reference)));
}
} // namespace SequenceNumber
