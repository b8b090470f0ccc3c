#include "ProductVersion.h"

#include "ProductVersionValue.h"

QString GetProductVersion(std::uint16_t* major)
{
    if (major)
        *major = FENWIR_VERSION_MAJOR;
    return QStringLiteral("%1.%2.%3.%4")
        .arg(FENWIR_VERSION_MAJOR)
        .arg(FENWIR_VERSION_MINOR)
        .arg(FENWIR_VERSION_PATCH)
        .arg(FENWIR_VERSION_TWEAK);
}
