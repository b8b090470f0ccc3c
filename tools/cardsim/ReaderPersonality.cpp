#include "ReaderPersonality.h"

#include "Acr122Personality.h"
#include "AcsDirectPersonality.h"
#include "IdentivPersonality.h"
#include "StandardPersonality.h"

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
