#include "CPcscCloud.h"

int CPcscCloud::SetReaderParameter(std::uint8_t value)
{
    QByteArray output;
    return Escape(Bytes({0x95, 0xFF, value}), 256, output) ? 1 : 0;
}

int CPcscCloud::GetReaderParameter(std::uint8_t& value)
{
    QByteArray output;
    if (!Escape(Bytes({0x94, 0xFF}), 256, output) || output.isEmpty())
        return 0;
    value = At(output, 0);
    return 1;
}
