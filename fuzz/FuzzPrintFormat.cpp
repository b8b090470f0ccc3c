// Layout files are named in the settings and may be anything.
#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "PrintFormat.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PrintFormat format;
    try {
        ArchiveReader in(QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                 static_cast<qsizetype>(size)));
        format.Read(in);
        // What the printing relies on: a list item, if any, heads the items
        // and has at least one row per page.
        for (std::size_t i = 0; i < format.items.size(); ++i)
            if (format.items[i].kind == PrintItem::List &&
                (i != 0 || format.items[i].rowsPerPage < 1))
                __builtin_trap();
    } catch (const ArchiveError&) {
    }
    return 0;
}
