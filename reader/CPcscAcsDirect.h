#pragma once

#include "CPcscFelicaMod.h"

// ACS ACR1251 / ACR1252 and their kin: a FeliCa frame sent as it is after
// FF 00 00 00 Lc, the card's answer frame returned before 90 00.
class CPcscAcsDirect : public CPcscFelicaMod
{
public:
    using CPcscFelicaMod::CPcscFelicaMod;

    static QByteArray Wrap(const QByteArray& frame);

protected:
    std::optional<QByteArray> Carry(const QByteArray& frame) override;
};
