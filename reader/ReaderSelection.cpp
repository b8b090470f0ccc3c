#include "ReaderSelection.h"

#include "CFelicaMod.h"
#include "CPasoriMod.h"
#include "CPcscPart3.h"
#include "KnownReaders.h"
#include "PcscApi.h"
#include "PcscFamilies.h"
#include "ReaderPlatform.h"
#include "UsbBus.h"
#include "UsbReaders.h"

#include <algorithm>

namespace
{
// Among the readers the table does not name, the first that speaks PC/SC
// Part 3: with a card on it, one that accepts a transparent session. Without
// a card nothing can be asked: a reader whose name says it is contactless is
// taken to wait at, unless the name is of a maker whose own commands we
// speak; any other is passed over.
bool FindPart3Reader(CFelicaMod& holder, ReaderEnvironment& environment, const QStringList& readers)
{
    for (const QString& name : readers) {
        if (KnownReaders::ModelIndex(name) != 0)
            continue;
        const auto probed = CPcscPart3(environment.pcsc, name).Probe();
        if (probed == CPcscPart3::ProbeResult::NoService)
            return false;
        const bool empty = probed == CPcscPart3::ProbeResult::NoCard &&
                           PcscFamilies::LooksContactless(name) && PcscFamilies::ByName(name) == 0;
        if (empty || probed == CPcscPart3::ProbeResult::Accepted) {
            holder.readerName = name;
            holder.modelIndex = KnownReaders::kPart3Model;
            return true;
        }
    }
    return false;
}

// Among the readers left, the first of a maker whose FeliCa commands we speak.
bool FindFamilyReader(CFelicaMod& holder, PcscApi& pcsc, SCARDCONTEXT context,
                      const QStringList& readers)
{
    for (const QString& name : readers) {
        if (KnownReaders::ModelIndex(name) != 0)
            continue;
        if (const int model = PcscFamilies::Find(pcsc, context, name)) {
            holder.readerName = name;
            holder.modelIndex = model;
            return true;
        }
    }
    return false;
}

// The first USB reader the user may open, else the first found (whose
// opening then says why not). A reader the maker's driver holds is left to
// the vendor library.
bool FindUsbReader(CFelicaMod& holder, ReaderEnvironment& environment)
{
    if (!environment.usb)
        return false;
    std::vector<UsbDeviceInfo> devices = environment.usb->Devices();
    std::erase_if(devices, [](const UsbDeviceInfo& d) {
        return d.access == UsbDeviceInfo::Access::DriverOwned;
    });
    if (devices.empty())
        return false;
    const auto usable = std::find_if(devices.begin(), devices.end(), [](const UsbDeviceInfo& d) {
        return d.access != UsbDeviceInfo::Access::NoPermission;
    });
    const UsbDeviceInfo& device = usable != devices.end() ? *usable : devices.front();
    holder.module = UsbReaders::CreateModule(*environment.usb, device);
    if (!holder.module)
        return false;
    holder.family = CFelicaMod::Usb;
    holder.readerName = QString::fromLatin1(UsbReaders::Find(device.vendor, device.product)->name);
    return true;
}
} // namespace

LONG FindPcscReader(CFelicaMod& holder, ReaderEnvironment& environment)
{
    PcscApi& pcsc = environment.pcsc;
    SCARDCONTEXT context = 0;
    LONG status = pcsc.EstablishContext(context);
    if (status != SCARD_S_SUCCESS)
        return status;
    QStringList readers;
    status = pcsc.ListReaders(context, readers);
    if (status != SCARD_S_SUCCESS) {
        pcsc.ReleaseContext(context);
        return status;
    }
    LONG result = SCARD_E_NO_SMARTCARD;
    for (const QString& name : readers) {
        const int model = KnownReaders::ModelIndex(name);
        if (model == 0)
            continue;
        SCARDHANDLE card = 0;
        status = pcsc.Connect(context, name, SCARD_SHARE_SHARED,
                              SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, card);
        if (status == SCARD_S_SUCCESS)
            pcsc.Disconnect(card, SCARD_LEAVE_CARD);
        // A reader without a card is still the reader to wait at: pcsc-lite
        // says so with SCARD_E_NO_SMARTCARD, other services with a removed card.
        if (status == SCARD_S_SUCCESS || status == SCARD_W_REMOVED_CARD ||
            status == SCARD_E_NO_SMARTCARD) {
            holder.readerName = name;
            holder.modelIndex = model;
            result = SCARD_S_SUCCESS;
            break;
        }
        result = status;
    }
    if (result != SCARD_S_SUCCESS && (FindPart3Reader(holder, environment, readers) ||
                                      FindFamilyReader(holder, pcsc, context, readers)))
        result = SCARD_S_SUCCESS;
    pcsc.ReleaseContext(context);
    return result;
}

int SelectReader(CFelicaMod& holder, ReaderEnvironment& environment)
{
    const LONG status = FindPcscReader(holder, environment);
    if (status == SCARD_S_SUCCESS) {
        KnownReaders::CreateModule(holder.modelIndex, environment.pcsc, holder.readerName)
            ->SwitchReaderMode(1);
        holder.module =
            KnownReaders::CreateModule(holder.modelIndex, environment.pcsc, holder.readerName);
        return kReaderReady;
    }
    if (FindUsbReader(holder, environment))
        return kReaderReady;
    holder.module = std::make_unique<CPasoriMod>(environment.vendorLibrary);
    if (!holder.module->IsAvailable()) {
        holder.family = CFelicaMod::VendorLibraryMissing;
        switch (status) {
        case SCARD_E_UNKNOWN_READER:
        case SCARD_E_NO_READERS_AVAILABLE:
            return kReaderNotConnected;
        case SCARD_E_NO_SERVICE:
            return kReaderServiceStopped;
        default:
            return kReaderOpenFailed;
        }
    }
    holder.family = CFelicaMod::VendorLibrary;
    if (!holder.module->Open())
        return kReaderOpenFailed;
    if (!holder.module->IsAlive())
        return kReaderNotConnected;
    holder.readerName = holder.module->GetName();
    return kReaderReady;
}

void PrepareReader(ReaderEnvironment& environment)
{
    CFelicaMod holder;
    SelectReader(holder, environment);
}

void RestReader(ReaderEnvironment& environment)
{
    CFelicaMod holder;
    if (FindPcscReader(holder, environment) == SCARD_S_SUCCESS)
        KnownReaders::CreateModule(holder.modelIndex, environment.pcsc, holder.readerName)
            ->SwitchReaderMode(0);
}

QString ServiceStoppedAdvice()
{
    return ReaderPlatform::ServiceStoppedAdvice();
}

QString ReaderMessageDetails(int result)
{
    return result == kReaderServiceStopped ? ReaderPlatform::ServiceStoppedDetails() : QString();
}

int ReaderMessageId(int result)
{
    switch (result) {
    case kReaderOpenFailed:
        return 150;
    case kReaderNotConnected:
        return 180;
    case kReaderServiceStopped:
        return 147;
    default:
        return 0;
    }
}

QString ReaderMessageText(int result)
{
    switch (result) {
    case kReaderOpenFailed:
        return QStringLiteral("カードリーダーのオープンに失敗しました。");
    case kReaderNotConnected:
        return QStringLiteral("カードリーダーが接続されていません。");
    case kReaderServiceStopped:
        return QStringLiteral("SmartCardサービスが停止しています。") + ServiceStoppedAdvice();
    default:
        return QString();
    }
}
