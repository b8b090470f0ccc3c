#pragma once

#include "CUsbMod.h"

// Sony's RC-S330, RC-S360 and RC-S370 (the RC-S956 chip, framed as the PN53x
// chips are). Each command (D4 cc ...) is answered with an ACK and then its
// response (D5 cc+1 ...); a NAK or the error frame is a failure, and an ACK
// from the host cancels a command that did not answer in time. A card is
// found with InListPassiveTarget and reached with InCommunicateThru, whose
// answer starts with the chip's status (0: the card answered).
class CPn53xMod : public CUsbMod
{
public:
    using CUsbMod::CUsbMod;
    ~CPn53xMod() override { Close(); }

protected:
    bool Initialise() override;
    void Shutdown() override;
    std::optional<QByteArray> Exchange(const QByteArray& frame, int timeoutMs) override;
    QByteArray DataFrame(const QByteArray& data) const override;
    std::optional<QByteArray> DataOf(const QByteArray& frame) const override;
    bool IsAck(const QByteArray& frame) const override;
    QByteArray AckFrame() const override;
    std::uint8_t CommandByte() const override { return 0xD4; }

private:
    bool Configure(const QByteArray& item);
    std::optional<QByteArray> ListTarget(const QByteArray& pollingFrame, int timeoutMs);
};
