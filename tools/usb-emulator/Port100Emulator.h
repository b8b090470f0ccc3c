#pragma once

#include "UsbDeviceEmulator.h"

class VirtualCard;

// Sony's RC-S380 as its Port-100 chip behaves: each well-formed command frame
// (D6 cc ...) is answered with an ACK and a response frame (D7 cc+1 ...), an
// ACK from the host cancels, a frame with a bad checksum is ignored. InCommRF
// needs the radio set for FeliCa first (InSetRF); its answer is a 32-bit
// status (80 00 00 00: the card did not answer), one byte, and the card's
// frame. The card is the virtual card, when it lies on the reader.
class Port100Emulator : public UsbDeviceEmulator
{
public:
    Port100Emulator(VirtualCard& card, std::uint16_t product = 0x06C1);

    std::uint16_t Vendor() const override { return 0x054C; }
    std::uint16_t Product() const override { return m_product; }
    std::vector<QByteArray> Receive(const QByteArray& out) override;

    // The frame of a payload, for tests: 00 00 FF FF FF, the length (LE) and
    // its checksum, the payload, its checksum, 00.
    static QByteArray Frame(const QByteArray& payload);

private:
    std::optional<QByteArray> Command(std::uint8_t code, const QByteArray& parameters);
    QByteArray CommRF(const QByteArray& parameters, Fault& fault);

    VirtualCard& m_card;
    std::uint16_t m_product;
    bool m_felica = false;
};
