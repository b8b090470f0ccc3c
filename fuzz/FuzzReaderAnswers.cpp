// A reader's answers are bytes from outside, like files: every PC/SC module
// (the three named families and the Part 3 one) is fed arbitrary answers.
// The first input byte picks the module; the rest is cut into answers, each
// a length byte and that many bytes.
#include "CPcscCloud.h"
#include "CPcscMod.h"
#include "CPcscMrica.h"
#include "CPcscPart3.h"
#include "PcscApi.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace
{
class ScriptedPcsc : public PcscApi
{
public:
    ScriptedPcsc(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    LONG EstablishContext(SCARDCONTEXT& context) override
    {
        context = 1;
        return SCARD_S_SUCCESS;
    }
    LONG ReleaseContext(SCARDCONTEXT) override { return SCARD_S_SUCCESS; }
    LONG ListReaders(SCARDCONTEXT, QStringList& readers) override
    {
        readers = {QStringLiteral("Fuzzed Reader 00 00")};
        return SCARD_S_SUCCESS;
    }
    LONG GetStatusChange(SCARDCONTEXT, const QString&, DWORD, DWORD, ReaderState& state) override
    {
        QByteArray atr;
        const LONG status = Next(33, atr);
        state.eventState = SCARD_STATE_PRESENT;
        state.atr = atr;
        return status;
    }
    LONG Connect(SCARDCONTEXT, const QString&, DWORD, DWORD, SCARDHANDLE& card) override
    {
        card = 2;
        return SCARD_S_SUCCESS;
    }
    LONG Disconnect(SCARDHANDLE, DWORD) override { return SCARD_S_SUCCESS; }
    LONG BeginTransaction(SCARDHANDLE) override { return SCARD_S_SUCCESS; }
    LONG EndTransaction(SCARDHANDLE, DWORD) override { return SCARD_S_SUCCESS; }
    LONG Transmit(SCARDHANDLE, const QByteArray&, std::size_t receiveSize,
                  QByteArray& response) override
    {
        return Next(receiveSize, response);
    }
    LONG Control(SCARDHANDLE, DWORD, const QByteArray&, std::size_t outputSize,
                 QByteArray& output) override
    {
        return Next(outputSize, output);
    }

private:
    // The next answer; when the input is used up the card has gone.
    LONG Next(std::size_t limit, QByteArray& out)
    {
        out.clear();
        if (m_pos >= m_size)
            return SCARD_W_REMOVED_CARD;
        const std::size_t length = m_data[m_pos++];
        const std::size_t take = std::min({length, m_size - m_pos, limit});
        out =
            QByteArray(reinterpret_cast<const char*>(m_data + m_pos), static_cast<qsizetype>(take));
        m_pos += take;
        return SCARD_S_SUCCESS;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

std::unique_ptr<CPcscMod> Module(std::uint8_t kind, PcscApi& pcsc)
{
    const QString name = QStringLiteral("Fuzzed Reader 00 00");
    switch (kind % 4) {
    case 0:
        return std::make_unique<CPcscMod>(pcsc, name);
    case 1:
        return std::make_unique<CPcscCloud>(pcsc, name);
    case 2:
        return std::make_unique<CPcscMrica>(pcsc, name);
    default:
        return std::make_unique<CPcscPart3>(pcsc, name);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    ScriptedPcsc pcsc(data + 1, size - 1);
    auto module = Module(data[0], pcsc);
    CardId idm{};
    CardId pmm{};
    HistoryBlocks blocks;
    module->Polling(idm, pmm, 0x0003, 0, 0);
    module->ReadBlocks(idm, 0x090F, 0x0003, blocks, 20);
    std::uint8_t parameter = 0;
    module->GetReaderParameter(parameter);
    module->GetName();
    module->SwitchReaderMode(data[0] & 1);
    if (auto* part3 = dynamic_cast<CPcscPart3*>(module.get()))
        part3->Probe();
    return 0;
}
