#pragma once

#include <QByteArray>
#include <QStringList>
#include <memory>
#include <optional>

class VirtualCard;

// How a reader of one family presents the virtual card to PC/SC: the ATR it
// reports for the card and its answers to the family's pseudo-APDUs. A
// command of another family is refused with an error status, as the real
// readers refuse it.
class ReaderPersonality
{
public:
    virtual ~ReaderPersonality() = default;

    virtual QByteArray Atr() const = 0;
    // The reply to an APDU; empty when the card has just been removed.
    virtual QByteArray Respond(const QByteArray& apdu) = 0;

    // "standard" (every named family and Part 3 at once), "acr122",
    // "acs-direct" or "identiv"; nothing for another name.
    static std::unique_ptr<ReaderPersonality> Create(const QString& name, VirtualCard& card);
    static QStringList Names();

    // ATRs of a FeliCa card: as ACS's ACR122U names it, and the PC/SC name.
    static QByteArray Acr122Atr();
    static QByteArray FelicaAtr();

protected:
    // What every family answers alike: nothing once the card is gone, 67 00
    // to an APDU too short to be one, the IDm to FF CA (Get Data); nothing
    // here for any other command, which is the family's own.
    static std::optional<QByteArray> CommonAnswer(const VirtualCard& card, const QByteArray& apdu);
};
