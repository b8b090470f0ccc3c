#pragma once

#include <stdexcept>
#include <string>

// A history record whose date or time cannot be converted. The import that
// meets one abandons the whole read.
class BlockDecodeError : public std::runtime_error
{
public:
    explicit BlockDecodeError(const std::string& what) : std::runtime_error(what) {}
};
