// Card images come from files the user names.
#include "CardImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString error;
    CardImage::Parse(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                     &error);
    return 0;
}
