#pragma once

#include <stdexcept>
#include <string>

// Raised by the file readers and writers when data is malformed or ends early.
class ArchiveError : public std::runtime_error
{
public:
    explicit ArchiveError(const std::string& what) : std::runtime_error(what) {}
};
