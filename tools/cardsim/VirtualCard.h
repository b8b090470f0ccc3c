#pragma once

#include "CardImage.h"

#include <QByteArray>
#include <optional>

// A transit card made from a card image. It answers FeliCa polling and block
// reads, and the pseudo-APDUs of the three PC/SC reader families (FF 40 and
// FF 46; FF AB with the FF 00 41 setup). Faults can be switched on to test
// how readers cope.
class VirtualCard
{
public:
    struct Faults {
        int removeAtBlock = -1;      // the card leaves when block N is asked for
        int wrongStatusAtBlock = -1; // block N answers 6A 81
        int truncateAtBlock = -1;    // block N answers 90 00 without its data
    };

    explicit VirtualCard(CardImage image);
    VirtualCard(CardImage image, Faults faults);

    bool AnswersSystem(std::uint16_t systemCode) const;
    // The block's bytes, or nothing beyond the history.
    std::optional<HistoryBlock> Block(int number) const;
    const CardImage& Image() const { return m_image; }

    // The reply to an APDU; empty when the card has just been removed.
    QByteArray Respond(const QByteArray& apdu);
    bool Removed() const { return m_removed; }

    static QByteArray Atr();

private:
    QByteArray PcscPolling(const QByteArray& apdu) const;
    QByteArray PcscRead(const QByteArray& apdu);
    QByteArray MricaPolling(const QByteArray& apdu) const;
    QByteArray MricaRead(const QByteArray& apdu);
    // Applies the faults for block n; nothing when the block answers normally.
    std::optional<QByteArray> Fault(int number);

    CardImage m_image;
    Faults m_faults;
    bool m_removed = false;
};
