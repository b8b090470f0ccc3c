#pragma once

#include "CPcscFelicaMod.h"

// The ACS ACR122U: a PN532 behind the reader's own controller, spoken to in
// pseudo-APDUs FF 00 00 00 Lc D4 ...: InListPassiveTarget (D4 4A) to poll,
// then InDataExchange (D4 40) with the target it listed. The chip's answer
// (D5 ...) comes before 90 00; in T=0 the reader may first say 61 xx, and
// GET RESPONSE (FF C0) fetches it.
class CPcscAcr122 : public CPcscFelicaMod
{
public:
    using CPcscFelicaMod::CPcscFelicaMod;

    static QByteArray ListPassiveTarget(const QByteArray& pollingFrame);
    static QByteArray DataExchange(const QByteArray& frame);

protected:
    std::optional<QByteArray> Carry(const QByteArray& frame) override;

private:
    // The chip's answer to a command, without the status word.
    std::optional<QByteArray> Chip(const QByteArray& command);
    static QByteArray Pseudo(const QByteArray& chipCommand);
};
