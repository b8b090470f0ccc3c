// "Apply.hst" may be damaged or replaced by anything.
#include "ApplyHistory.h"
#include "ArchiveError.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        ApplyHistory::Parse(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    } catch (const ArchiveError&) {
    }
    return 0;
}
