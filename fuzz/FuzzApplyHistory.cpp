// "Apply.hst" may be damaged or replaced by anything: it is read as far as it
// can be, and what was read is written and read again whole and the same.
#include "HistoryFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const HistoryFile::Reading reading = HistoryFile::Read(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const HistoryFile::Reading again = HistoryFile::Read(HistoryFile::Serialize(reading.contents));
    if (again.damaged || again.contents != reading.contents)
        std::abort();
    return 0;
}
