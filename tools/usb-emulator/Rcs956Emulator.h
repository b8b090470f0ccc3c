#pragma once

#include "UsbDeviceEmulator.h"

class VirtualCard;

// Sony's RC-S330/360/370 as its RC-S956 chip behaves, in PN53x frames: each
// well-formed command (D4 cc ...) is answered with an ACK and a response
// (D5 cc+1 ...); a command it does not know gets the error frame; a frame
// with a bad checksum is ignored; an ACK from the host cancels.
// InListPassiveTarget finds the virtual card (when it lies there) at 212 or
// 424 kbps; InCommunicateThru answers status 00 and the card's frame, or 01
// when the card kept silent.
class Rcs956Emulator : public UsbDeviceEmulator
{
public:
    explicit Rcs956Emulator(VirtualCard& card) : m_card(card) {}

    std::uint16_t Vendor() const override { return 0x054C; }
    std::uint16_t Product() const override { return 0x02E1; }
    std::vector<QByteArray> Receive(const QByteArray& out) override;

    // The normal frame of a payload, for tests.
    static QByteArray Frame(const QByteArray& payload);

private:
    std::optional<QByteArray> Command(std::uint8_t code, const QByteArray& parameters,
                                      Fault& fault);
    QByteArray ListPassiveTarget(const QByteArray& parameters);
    QByteArray Exchange(const QByteArray& frame, Fault& fault);

    VirtualCard& m_card;
};
