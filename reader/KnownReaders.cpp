#include "KnownReaders.h"

#include "CPcscAcr122.h"
#include "CPcscAcsDirect.h"
#include "CPcscCloud.h"
#include "CPcscIdentiv.h"
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
    switch (modelIndex) {
    case kPart3Model:
        return std::make_unique<CPcscPart3>(pcsc, readerName);
    case kAcr122Model:
        return std::make_unique<CPcscAcr122>(pcsc, readerName);
    case kAcsDirectModel:
        return std::make_unique<CPcscAcsDirect>(pcsc, readerName);
    case kIdentivModel:
        return std::make_unique<CPcscIdentiv>(pcsc, readerName);
    default:
        return std::make_unique<CPcscMod>(pcsc, readerName);
    }
}

QString KnownReaders::Describe(int modelIndex)
{
    switch (modelIndex) {
    case 2:
    case 3:
    case 4:
    case 5:
        return QStringLiteral("FeliCa 擬似APDU (FF 40 / FF 46)、Identiv のモード切替");
    case 8:
        return QStringLiteral("Circle 方式 (FF AB)");
    case kPart3Model:
        return QStringLiteral("PC/SC Part 3 の透過交換 (FF C2)");
    case kAcr122Model:
        return QStringLiteral("ACR122U 方式 (PN532 の D4 4A / D4 40 を FF 00 00 00 で送る)");
    case kAcsDirectModel:
        return QStringLiteral("ACS 直接送信 (FeliCa フレームを FF 00 00 00 で送る)");
    case kIdentivModel:
        return QStringLiteral("Identiv/SCM 方式 (FF 40 / FF 46)");
    default:
        return QStringLiteral("FeliCa 擬似APDU (FF 40 / FF 46)");
    }
}
