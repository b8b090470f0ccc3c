// A reader's answers are bytes from outside, like files: every reader module
// is fed arbitrary answers. The first input byte picks the module: the PC/SC
// ones (the named families, Part 3, ACR122U, ACS direct, Identiv/SCM), the
// USB ones (Port-100, RC-S956) and the USB test seam's framing. The rest is
// cut into answers, each a length byte and that many bytes; for USB, length
// FF is a timeout and FE takes a 16-bit length from the next two bytes.
#include "CPcscAcr122.h"
#include "CPcscAcsDirect.h"
#include "CPcscCloud.h"
#include "CPcscIdentiv.h"
#include "CPcscMod.h"
#include "CPcscMrica.h"
#include "CPcscPart3.h"
#include "PcscApi.h"
#include "PcscFamilies.h"
#include "SocketUsbTransport.h"
#include "UsbBus.h"
#include "UsbReaders.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
// The fuzzer's bytes, taken from the front.
class Input
{
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_pos >= m_size; }
    std::uint8_t Byte() { return Empty() ? 0 : m_data[m_pos++]; }
    QByteArray Take(std::size_t length)
    {
        const std::size_t take = std::min(length, m_size - std::min(m_pos, m_size));
        QByteArray bytes(reinterpret_cast<const char*>(m_data + m_pos),
                         static_cast<qsizetype>(take));
        m_pos += take;
        return bytes;
    }
    QByteArray Rest() { return Take(m_size); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

class ScriptedPcsc : public PcscApi
{
public:
    explicit ScriptedPcsc(Input& input) : m_input(input) {}

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
        if (m_input.Empty())
            return SCARD_W_REMOVED_CARD;
        const std::size_t length = m_input.Byte();
        out = m_input.Take(std::min(length, limit));
        return SCARD_S_SUCCESS;
    }

    Input& m_input;
};

class ScriptedUsb : public UsbTransport
{
public:
    explicit ScriptedUsb(Input& input) : m_input(input) {}

    bool Write(const QByteArray&, int) override { return !m_input.Empty(); }
    Status Read(QByteArray& frame, int maxSize, int) override
    {
        frame.clear();
        if (m_input.Empty())
            return Status::Failed;
        std::size_t length = m_input.Byte();
        if (length == 0xFF)
            return Status::Timeout;
        if (length == 0xFE)
            length = static_cast<std::size_t>(m_input.Byte()) << 8 | m_input.Byte();
        frame = m_input.Take(length);
        if (frame.size() > maxSize) {
            frame.clear();
            return Status::Failed;
        }
        return Status::Ok;
    }

private:
    Input& m_input;
};

class ScriptedBus : public UsbBus
{
public:
    explicit ScriptedBus(Input& input) : m_input(input) {}

    std::vector<UsbDeviceInfo> Devices() override { return {}; }
    std::unique_ptr<UsbTransport> Open(const UsbDeviceInfo&, QString*) override
    {
        return std::make_unique<ScriptedUsb>(m_input);
    }
    QString Describe() const override { return QStringLiteral("fuzz"); }

private:
    Input& m_input;
};

std::unique_ptr<CPcscMod> PcscModule(std::uint8_t kind, PcscApi& pcsc)
{
    const QString name = QStringLiteral("Fuzzed Reader 00 00");
    switch (kind) {
    case 0:
        return std::make_unique<CPcscMod>(pcsc, name);
    case 1:
        return std::make_unique<CPcscCloud>(pcsc, name);
    case 2:
        return std::make_unique<CPcscMrica>(pcsc, name);
    case 3:
        return std::make_unique<CPcscPart3>(pcsc, name);
    case 4:
        return std::make_unique<CPcscAcr122>(pcsc, name);
    case 5:
        return std::make_unique<CPcscAcsDirect>(pcsc, name);
    default:
        return std::make_unique<CPcscIdentiv>(pcsc, name);
    }
}

void Read(CReaderMod& module)
{
    CardId idm{};
    CardId pmm{};
    HistoryBlocks blocks;
    module.WaitForCard(0);
    module.Polling(idm, pmm, 0x0003, 0, 0);
    module.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20);
    module.GetName();
}

void FuzzPcsc(std::uint8_t kind, Input& input)
{
    ScriptedPcsc pcsc(input);
    auto module = PcscModule(kind, pcsc);
    Read(*module);
    std::uint8_t parameter = 0;
    module->GetReaderParameter(parameter);
    module->SwitchReaderMode(kind & 1);
    if (auto* part3 = dynamic_cast<CPcscPart3*>(module.get()))
        part3->Probe();
    PcscFamilies::Find(pcsc, 1, QStringLiteral("Fuzzed Reader 00 00"));
}

void FuzzUsb(std::uint8_t kind, Input& input)
{
    ScriptedBus bus(input);
    UsbDeviceInfo device;
    device.vendor = 0x054C;
    device.product = kind == 7 ? 0x06C1 : 0x02E1;
    auto module = UsbReaders::CreateModule(bus, device);
    if (module->Open())
        Read(*module);
    module->Close();
}

// The seam's own framing: messages as a peer might send them.
void FuzzSeam(Input& input)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
        return;
    const QByteArray sent = input.Rest().left(4096);
    [[maybe_unused]] const ssize_t written = ::write(ends[1], sent.constData(), sent.size());
    ::close(ends[1]);
    SocketUsbTransport transport(ends[0]);
    QByteArray frame;
    while (transport.Read(frame, 300, 0) == UsbTransport::Status::Ok) {
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t kind = data[0] % 10;
    Input input(data + 1, size - 1);
    if (kind < 7)
        FuzzPcsc(kind, input);
    else if (kind < 9)
        FuzzUsb(kind, input);
    else
        FuzzSeam(input);
    return 0;
}
