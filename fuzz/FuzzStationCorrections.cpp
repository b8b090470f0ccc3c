// The corrections file is the user's, and may be edited by hand.
#include "StationCorrections.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    StationCorrections::Table table;
    QString reason;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // What is read back is what is written out.
    if (StationCorrections::Parse(bytes, table, &reason)) {
        StationCorrections::Table again;
        if (!StationCorrections::Parse(StationCorrections::Serialize(table), again, &reason) ||
            again != table)
            __builtin_trap();
    }
    return 0;
}
