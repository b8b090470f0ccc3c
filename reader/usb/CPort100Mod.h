#pragma once

#include "CUsbMod.h"

// Sony's RC-S380 (the Port-100 chip). Each command (D6 cc ...) is answered
// with an ACK and then its response (D7 cc+1 ...); an ACK from the host
// cancels a command that did not answer in time. The card is reached with
// InCommRF, whose timeout counts tenths of a millisecond and whose answer
// starts with a 32-bit status (0: the card answered).
class CPort100Mod : public CUsbMod
{
public:
    using CUsbMod::CUsbMod;
    ~CPort100Mod() override { Close(); }

    // InSetProtocol's defaults, as pairs of item and value.
    static QByteArray ProtocolDefaults();
    // The InCommRF timeout for a wait of so many milliseconds.
    static std::uint16_t TimeoutUnits(int milliseconds);

protected:
    bool Initialise() override;
    void Shutdown() override;
    std::optional<QByteArray> Exchange(const QByteArray& frame, int timeoutMs) override;
    QByteArray DataFrame(const QByteArray& data) const override;
    std::optional<QByteArray> DataOf(const QByteArray& frame) const override;
    bool IsAck(const QByteArray& frame) const override;
    QByteArray AckFrame() const override;
    std::uint8_t CommandByte() const override { return 0xD6; }

private:
    // A command whose response is a single status byte, 00 for success.
    bool Succeeds(int code, const QByteArray& parameters);
    // The radio set for FeliCa at 212 kbps, once per opening.
    bool Configure();

    bool m_configured = false;
};
