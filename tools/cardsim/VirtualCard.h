#pragma once

#include "CardImage.h"

#include <QByteArray>
#include <optional>

// A transit card made from a card image. It answers FeliCa polling and block
// reads, and the pseudo-APDUs of the PC/SC reader families (FF 40 and FF 46;
// FF AB with the FF 00 41 setup; the Part 3 session and transparent exchange,
// FF C2). Faults can be switched on to test
// how readers cope.
class VirtualCard
{
public:
    struct Faults {
        int removeAtBlock = -1;      // the card leaves when block N is asked for
        int wrongStatusAtBlock = -1; // block N answers 6A 81
        int truncateAtBlock = -1;    // block N answers 90 00 without its data
        bool part3 = true;           // the reader speaks PC/SC Part 3 (FF C2)
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

    // A FeliCa frame's answer (with its length byte), or empty for silence.
    QByteArray Felica(const QByteArray& frame);
    // For a block read among FeliCa frames: what the faults make the reader
    // answer instead (empty: the card is gone), or nothing.
    std::optional<QByteArray> FrameFault(const QByteArray& frame);

private:
    QByteArray PcscPolling(const QByteArray& apdu) const;
    QByteArray PcscRead(const QByteArray& apdu);
    QByteArray MricaPolling(const QByteArray& apdu) const;
    QByteArray MricaRead(const QByteArray& apdu);
    QByteArray Part3(const QByteArray& apdu);
    // Applies the faults for block n; nothing when the block answers normally.
    std::optional<QByteArray> Fault(int number);

    CardImage m_image;
    Faults m_faults;
    bool m_removed = false;
};
