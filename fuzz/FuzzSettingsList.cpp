// The stored visit lists are decoded from whatever the settings file holds.
#include "ArchiveError.h"
#include "ArchiveReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        ArchiveReader reader(QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     static_cast<qsizetype>(size)));
        reader.ReadStringList();
    } catch (const ArchiveError&) {
    }
    return 0;
}
