#pragma once

#include "EntryInfo.h"

#include <cstddef>
#include <memory>

// A line outside the claim with the position it has (or had) in it.
struct PlacedLine {
    std::size_t position;
    std::unique_ptr<EntryInfo> line;
};
