// Expense files are opened from wherever the user points.
#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "EntryList.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EntryList list;
    try {
        ArchiveReader in(QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                 static_cast<qsizetype>(size)));
        list.Read(in);
    } catch (const ArchiveError&) {
        if (!list.lines.empty())
            __builtin_trap(); // a failed read must leave nothing behind
    }
    return 0;
}
