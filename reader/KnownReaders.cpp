#include "KnownReaders.h"

#include "CPcscCloud.h"
#include "CPcscMod.h"
#include "CPcscMrica.h"
#include "CPcscPart3.h"

#include <array>

namespace
{
const std::array<const char*, 8> kNames = {
    "SCR331CL-NTTCom",
    "Identiv uTrust 4701 F CT_CL Reader",
    "Identive CLOUD 4700 F Contactless Reader",
    "Identiv CLOUD 3701 F Contactless Reader",
    "Identiv uTrust 4701 F CL Reader",
    "ACS ACR1251 CL Reader PICC",
    "ACS ACR1252 1S CL Reader PICC",
    "Circle CIR315 CL",
};
} // namespace

int KnownReaders::ModelIndex(const QString& readerName)
{
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (readerName.contains(QLatin1String(kNames[i]), Qt::CaseSensitive))
            return static_cast<int>(i) + 1;
    return 0;
}

std::unique_ptr<CReaderMod> KnownReaders::CreateModule(int modelIndex, PcscApi& pcsc,
                                                       const QString& readerName)
{
    if (modelIndex >= 2 && modelIndex <= 5)
        return std::make_unique<CPcscCloud>(pcsc, readerName);
    if (modelIndex == 8)
        return std::make_unique<CPcscMrica>(pcsc, readerName);
    if (modelIndex == kPart3Model)
        return std::make_unique<CPcscPart3>(pcsc, readerName);
    return std::make_unique<CPcscMod>(pcsc, readerName);
}
