#include "PcscFamilies.h"

#include "KnownReaders.h"

namespace
{
bool HasAny(const QString& name, std::initializer_list<const char*> words)
{
    for (const char* word : words)
        if (name.contains(QLatin1String(word), Qt::CaseInsensitive))
            return true;
    return false;
}

// The card name of a PC/SC storage-card ATR: the registered application
// provider A0 00 00 03 06, the standard byte, then two bytes of card name.
struct AtrCard {
    int standard = -1;
    int name = -1;
};

AtrCard CardOf(const QByteArray& atr)
{
    static const QByteArray kProvider = QByteArray::fromHex("4F0CA000000306");
    const qsizetype at = atr.indexOf(kProvider);
    if (at < 0 || at + kProvider.size() + 3 > atr.size())
        return {};
    const qsizetype i = at + kProvider.size();
    const auto byte = [&](qsizetype k) { return static_cast<std::uint8_t>(atr[k]); };
    return {byte(i), byte(i + 1) << 8 | byte(i + 2)};
}

constexpr int kFelicaStandard = 0x11;
constexpr int kFelicaName = 0x003B;
// ACS's own names of a FeliCa card at 212 and 424 kbps (ACR122U, ACR122T).
constexpr int kAcsFelica212 = 0xF011;
constexpr int kAcsFelica424 = 0xF012;
} // namespace

bool PcscFamilies::LooksContactless(const QString& readerName)
{
    return HasAny(readerName,
                  {"FeliCa", "PaSoRi", "RC-S", "Contactless", "CL Reader", "PICC", "NFC", "SCL"});
}

int PcscFamilies::ByName(const QString& name)
{
    if (name.contains(QLatin1String("ACR122")))
        return KnownReaders::kAcr122Model;
    // The ACS readers' contactless slot is the "PICC" one; a SAM or contact
    // slot of the same reader is no FeliCa reader.
    if (name.startsWith(QLatin1String("ACS ")) && name.contains(QLatin1String("PICC")))
        return KnownReaders::kAcsDirectModel;
    if (HasAny(name, {"Identiv", "Identive", "SCM Microsystems", "SCL3711"}) &&
        LooksContactless(name))
        return KnownReaders::kIdentivModel;
    return 0;
}

int PcscFamilies::ByAtr(const QByteArray& atr)
{
    const AtrCard card = CardOf(atr);
    return card.name == kAcsFelica212 || card.name == kAcsFelica424 ? KnownReaders::kAcr122Model
                                                                    : 0;
}

bool PcscFamilies::IsFelicaAtr(const QByteArray& atr)
{
    const AtrCard card = CardOf(atr);
    return card.standard == kFelicaStandard || card.name == kFelicaName ||
           card.name == kAcsFelica212 || card.name == kAcsFelica424;
}

int PcscFamilies::Find(PcscApi& pcsc, SCARDCONTEXT context, const QString& readerName)
{
    if (const int model = ByName(readerName))
        return model;
    PcscApi::ReaderState state;
    if (pcsc.GetStatusChange(context, readerName, SCARD_STATE_UNAWARE, 0, state) !=
            SCARD_S_SUCCESS ||
        (state.eventState & SCARD_STATE_PRESENT) == 0 || !IsFelicaAtr(state.atr))
        return 0;
    if (const int model = ByAtr(state.atr))
        return model;
    // A FeliCa card on a reader of no known name: whose polling does it answer?
    for (const int model :
         {KnownReaders::kIdentivModel, KnownReaders::kAcsDirectModel, KnownReaders::kAcr122Model}) {
        CardId idm{};
        CardId pmm{};
        if (KnownReaders::CreateModule(model, pcsc, readerName)->Polling(idm, pmm, 0xFFFF, 0, 0) !=
            0)
            return model;
    }
    return 0;
}
