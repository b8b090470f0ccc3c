#include "ReaderPersonality.h"

#include "Acr122Personality.h"
#include "AcsDirectPersonality.h"
#include "IdentivPersonality.h"
#include "StandardPersonality.h"
#include "VirtualCard.h"

QByteArray ReaderPersonality::Acr122Atr()
{
    // Historical bytes: PC/SC storage card, standard 03, card name F0 11 (FeliCa 212K).
    return QByteArray::fromHex("3B8F8001804F0CA000000306"
                               "03F011000000008A");
}

QByteArray ReaderPersonality::FelicaAtr()
{
    // Standard 11 (FeliCa), card name 00 3B.
    return QByteArray::fromHex("3B8F8001804F0CA000000306"
                               "11003B0000000042");
}

QStringList ReaderPersonality::Names()
{
    return {QStringLiteral("standard"), QStringLiteral("acr122"), QStringLiteral("acs-direct"),
            QStringLiteral("identiv")};
}

std::unique_ptr<ReaderPersonality> ReaderPersonality::Create(const QString& name, VirtualCard& card)
{
    if (name == QLatin1String("standard"))
        return std::make_unique<StandardPersonality>(card);
    if (name == QLatin1String("acr122"))
        return std::make_unique<Acr122Personality>(card);
    if (name == QLatin1String("acs-direct"))
        return std::make_unique<AcsDirectPersonality>(card);
    if (name == QLatin1String("identiv"))
        return std::make_unique<IdentivPersonality>(card);
    return nullptr;
}

std::optional<QByteArray> ReaderPersonality::CommonAnswer(const VirtualCard& card,
                                                          const QByteArray& apdu)
{
    if (card.Removed())
        return QByteArray();
    if (apdu.size() < 5)
        return QByteArray("\x67\x00", 2);
    if (apdu == QByteArray::fromHex("FFCA000000"))
        return QByteArray(reinterpret_cast<const char*>(card.Image().idm.data()), 8) +
               QByteArray("\x90\x00", 2);
    return std::nullopt;
}
