// A full read (polling and 20 blocks) through each USB reader module against
// its device emulator behind the test seam, beside the same frames written by
// hand and exchanged over the same socket. Goal: the module's overhead at
// most 1.0x of the bare frames (module time at most twice the bare time).
#include "CUsbMod.h"
#include "FelicaFrame.h"
#include "Port100Emulator.h"
#include "Rcs956Emulator.h"
#include "SocketUsbBus.h"
#include "SocketUsbTransport.h"
#include "UsbReaders.h"
#include "UsbSocketServer.h"
#include "VirtualCard.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <thread>

namespace
{
CardImage TwentyRecords()
{
    CardImage image;
    image.idm = {0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x5C, 0x6D};
    image.pmm = {0x10, 0x0B, 0x4B, 0x42, 0x84, 0x85, 0xD0, 0xFF};
    image.systemCodes = {0x0003};
    for (int n = 0; n < 20; ++n)
        image.history.push_back(HistoryBlock{0x16, 0x01, 0, 0, 0x35, 0x62, 1, 0x10, 1, 0x20, 0xE8,
                                             0x03, 0, 0, static_cast<std::uint8_t>(n), 0});
    return image;
}

// An emulated reader served on a socket by a thread of its own.
struct Served {
    explicit Served(bool port100)
        : card(TwentyRecords()),
          device(port100 ? std::unique_ptr<UsbDeviceEmulator>(new Port100Emulator(card))
                         : std::unique_ptr<UsbDeviceEmulator>(new Rcs956Emulator(card))),
          server(*device, dir.filePath("usb.sock"))
    {
        if (server.Listen())
            thread = std::thread([this] { server.Serve(); });
    }
    ~Served()
    {
        server.Stop();
        if (thread.joinable())
            thread.join();
    }

    QTemporaryDir dir;
    VirtualCard card;
    std::unique_ptr<UsbDeviceEmulator> device;
    UsbSocketServer server;
    std::thread thread;
};

// The frames of a full read, each as the module sends it: the polling, the
// polling again before the blocks, and the 20 block reads.
std::vector<QByteArray> FullReadFrames(bool port100, const CardId& idm)
{
    std::vector<QByteArray> felica = {FelicaFrame::Polling(0x0003), FelicaFrame::Polling(0x0003)};
    for (int n = 0; n < 20; ++n)
        felica.push_back(
            FelicaFrame::ReadWithoutEncryption(idm, 0x090F, static_cast<std::uint8_t>(n)));
    std::vector<QByteArray> frames;
    for (const QByteArray& frame : felica) {
        const bool polling = frame[1] == 0x00;
        if (port100) {
            // InCommRF with 10 ms for a polling, 100 ms for a read.
            frames.push_back(Port100Emulator::Frame(
                QByteArray::fromHex(polling ? "D6046E00" : "D604F203") + frame));
        } else if (polling) {
            frames.push_back(Rcs956Emulator::Frame(QByteArray::fromHex("D44A0101") + frame.mid(1)));
        } else {
            frames.push_back(Rcs956Emulator::Frame(QByteArray::fromHex("D442") + frame));
        }
    }
    return frames;
}

void BM_ModuleFullRead(benchmark::State& state)
{
    const bool port100 = state.range(0) == 1;
    Served served(port100);
    SocketUsbBus bus(served.dir.filePath("usb.sock"));
    const auto devices = bus.Devices();
    if (devices.empty()) {
        state.SkipWithError("the emulator does not answer");
        return;
    }
    auto module = UsbReaders::CreateModule(bus, devices[0]);
    CardId idm{};
    CardId pmm{};
    if (!module->Open() || !module->Polling(idm, pmm, 0x0003, 0, 0)) {
        state.SkipWithError("the module cannot open the reader");
        return;
    }
    for (auto _ : state) {
        HistoryBlocks blocks;
        if (!module->Polling(idm, pmm, 0x0003, 0, 0) ||
            !module->ReadBlocks(idm, 0x090F, 0x0003, blocks, 20) || blocks.size() != 20)
            state.SkipWithError("read failed");
    }
    state.SetLabel(port100 ? "Port-100 (RC-S380)" : "RC-S956 (RC-S330)");
}

void BM_BareFullRead(benchmark::State& state)
{
    const bool port100 = state.range(0) == 1;
    Served served(port100);
    SocketUsbBus bus(served.dir.filePath("usb.sock"));
    const auto devices = bus.Devices();
    // The reader opened and set up by the module, which is then left aside:
    // the bare frames start where its full read starts.
    auto module = devices.empty() ? nullptr : UsbReaders::CreateModule(bus, devices[0]);
    CardId idm{};
    CardId pmm{};
    if (!module || !module->Open() || !module->Polling(idm, pmm, 0x0003, 0, 0)) {
        state.SkipWithError("the reader cannot be opened");
        return;
    }
    module.reset(); // shut down; the bare client opens the device again
    QString why;
    auto transport = bus.Open(devices[0], &why);
    // The same setup again by hand, so the chip is in the same state.
    const std::vector<QByteArray> setup =
        port100
            ? std::vector<QByteArray>{Port100Emulator::Frame(QByteArray::fromHex("D60001010F01")),
                                      Port100Emulator::Frame(
                                          QByteArray::fromHex("D602") +
                                          QByteArray::fromHex(
                                              "0018010102010300040005000600070808000900"
                                              "0A000B000C000E040F001000110012001306")),
                                      Port100Emulator::Frame(QByteArray::fromHex("D6020018"))}
            : std::vector<QByteArray>{};
    QByteArray in;
    for (const QByteArray& frame : setup) {
        transport->Write(frame, 100);
        transport->Read(in, 300, 100);
        transport->Read(in, 300, 100);
    }
    const std::vector<QByteArray> frames = FullReadFrames(port100, idm);
    for (auto _ : state) {
        for (const QByteArray& frame : frames) {
            transport->Write(frame, 100);
            if (transport->Read(in, 300, 100) != UsbTransport::Status::Ok ||
                transport->Read(in, 300, 200) != UsbTransport::Status::Ok)
                state.SkipWithError("exchange failed");
        }
    }
    state.SetLabel(port100 ? "Port-100 (RC-S380)" : "RC-S956 (RC-S330)");
}

BENCHMARK(BM_BareFullRead)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_ModuleFullRead)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
} // namespace
