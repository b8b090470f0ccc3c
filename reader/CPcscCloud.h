#pragma once

#include "CPcscMod.h"

// Identiv readers: the same card commands, their own escapes (95 FF / 94 FF).
class CPcscCloud : public CPcscMod
{
public:
    using CPcscMod::CPcscMod;

    int SetReaderParameter(std::uint8_t value) override;
    int GetReaderParameter(std::uint8_t& value) override;

protected:
    std::array<std::uint8_t, 2> ModeValues() const override { return {0xFF, 0x60}; }
};
