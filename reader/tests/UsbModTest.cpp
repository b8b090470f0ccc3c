// The USB reader modules: their chips' frames, the recorded sequences of
// nfcpy's tests replayed byte for byte, full reads through the device
// emulators, and every broken answer a failed read that leaves nothing.
#include "CFelicaMod.h"
#include "CPn53xMod.h"
#include "CPort100Mod.h"
#include "CardReadJob.h"
#include "CardReader.h"
#include "EmulatedUsb.h"
#include "FakePcsc.h"
#include "Pn53xFrame.h"
#include "Port100Emulator.h"
#include "Port100Frame.h"
#include "Rcs956Emulator.h"
#include "ReaderSelection.h"
#include "TestCards.h"
#include "UsbReaders.h"

#include <gtest/gtest.h>

namespace
{
QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// nfcpy's test helpers: a Port-100 command and response frame.
QByteArray Cmd(const char* hex)
{
    return Port100Frame::Data(Hex("D6") + Hex(hex));
}
QByteArray Rsp(const char* hex)
{
    return Port100Frame::Data(Hex("D7") + Hex(hex));
}

// The nfcpy pattern: the frames the host must write and what the device
// answers (a frame, or a timeout), in order.
class ScriptedTransport : public UsbTransport
{
public:
    struct Step {
        bool write;
        QByteArray frame; // empty for a read that times out
    };
    std::vector<Step> steps;
    std::size_t next = 0;
    QStringList errors;

    bool Write(const QByteArray& frame, int) override
    {
        if (next >= steps.size() || !steps[next].write || steps[next].frame != frame) {
            errors << "wrote " + frame.toHex(' ') + " at step " + QString::number(next);
            return false;
        }
        ++next;
        return true;
    }
    Status Read(QByteArray& frame, int, int) override
    {
        frame.clear();
        if (next >= steps.size() || steps[next].write) {
            errors << "read at step " + QString::number(next);
            return Status::Failed;
        }
        frame = steps[next++].frame;
        return frame.isEmpty() ? Status::Timeout : Status::Ok;
    }
};

// The script stays with the bus; the module gets a link to it.
class ScriptLink : public UsbTransport
{
public:
    explicit ScriptLink(ScriptedTransport& script) : m_script(script) {}
    bool Write(const QByteArray& frame, int timeoutMs) override
    {
        return m_script.Write(frame, timeoutMs);
    }
    Status Read(QByteArray& frame, int maxSize, int timeoutMs) override
    {
        return m_script.Read(frame, maxSize, timeoutMs);
    }

private:
    ScriptedTransport& m_script;
};

class ScriptedBus : public UsbBus
{
public:
    ScriptedBus(std::uint16_t product, std::unique_ptr<ScriptedTransport> transport)
        : script(std::move(transport)), m_product(product)
    {
    }
    std::unique_ptr<ScriptedTransport> script;

    std::vector<UsbDeviceInfo> Devices() override
    {
        UsbDeviceInfo device;
        device.vendor = 0x054C;
        device.product = m_product;
        return {device};
    }
    std::unique_ptr<UsbTransport> Open(const UsbDeviceInfo&, QString*) override
    {
        return std::make_unique<ScriptLink>(*script);
    }
    QString Describe() const override { return QStringLiteral("script"); }

private:
    std::uint16_t m_product;
};

std::vector<ScriptedTransport::Step> Steps(std::initializer_list<std::pair<bool, QByteArray>> list)
{
    std::vector<ScriptedTransport::Step> steps;
    for (const auto& [write, frame] : list)
        steps.push_back({write, frame});
    return steps;
}
constexpr bool W = true;  // the host writes
constexpr bool R = false; // the device answers
const QByteArray kAck = Hex("0000FF00FF00");
const QByteArray kTimeout;

// One chip's reader and its emulator, on a bus in memory.
struct Rig {
    Rig(bool port100, int records = 20)
        : card(TestCard(records)),
          device(port100 ? std::unique_ptr<UsbDeviceEmulator>(new Port100Emulator(card))
                         : std::unique_ptr<UsbDeviceEmulator>(new Rcs956Emulator(card))),
          bus(*device)
    {
    }
    std::unique_ptr<CReaderMod> Module() { return UsbReaders::CreateModule(bus, bus.Devices()[0]); }

    VirtualCard card;
    std::unique_ptr<UsbDeviceEmulator> device;
    EmulatorBus bus;
};
} // namespace

TEST(UsbFrames, MatchTheRecordedFrames)
{
    // Recorded from a real RC-S380/P, and nfcpy's frame tests.
    EXPECT_EQ(Port100Frame::Data(Hex("D62A01")), Hex("0000FFFFFF0300FDD62A01FF00"));
    EXPECT_EQ(Port100Frame::Data(Hex("D620")), Hex("0000FFFFFF0200FED6200A00"));
    EXPECT_EQ(Port100Frame::Data(Hex("D604") + Hex("6E00") + Hex("0600FFFF0100")),
              Hex("0000FFFFFF0A00F6D6046E000600FFFF0100B300"));
    EXPECT_EQ(Port100Frame::DecodeData(Hex("0000ffffff0200fe31329d00")), QByteArray("12"));
    EXPECT_TRUE(Port100Frame::IsAck(Hex("0000ff00ff00")));
    for (const char* broken :
         {"0000ffffff", "0000ff", "0000ffffff0200ff31329d00", "0000ffffff0200fe31329c00",
          "0000ffffff0200fe31329d", "0000ffffff0300fe31329d00", "0000ffffff0200fe31329d0000"})
        EXPECT_FALSE(Port100Frame::DecodeData(Hex(broken))) << broken;

    EXPECT_EQ(Pn53xFrame::Data(Hex("D44A01010000030100")), Hex("0000FF09F7D44A01010000030100DC00"));
    EXPECT_EQ(Pn53xFrame::Decode(Hex("0000FF03FDD54301E700")).data, Hex("D54301"));
    EXPECT_EQ(Pn53xFrame::Decode(Hex("0000FF00FF00")).kind, Pn53xFrame::Kind::Ack);
    EXPECT_EQ(Pn53xFrame::Decode(Hex("0000FFFF0000")).kind, Pn53xFrame::Kind::Nak);
    EXPECT_EQ(Pn53xFrame::Decode(Hex("0000FF01FF7F8100")).kind, Pn53xFrame::Kind::Error);
    for (const char* broken : {"0000FF03FDD54301E800", "0000FF03FCD54301E700", "0000FF03FDD54301E7",
                               "0000FF04FCD54301E700", "0000FF00"})
        EXPECT_EQ(Pn53xFrame::Decode(Hex(broken)).kind, Pn53xFrame::Kind::Invalid) << broken;
    // Longer data goes in an extended frame.
    const QByteArray long300(300, '\x11');
    const QByteArray extended = Pn53xFrame::Data(long300);
    EXPECT_TRUE(extended.startsWith(Hex("0000FFFFFF012CD3")));
    EXPECT_EQ(Pn53xFrame::Decode(extended).data, long300);
}

TEST(UsbModules, Port100ReplaysNfcpysRecordedSequence)
{
    const QByteArray defaults = Hex("02") + CPort100Mod::ProtocolDefaults();
    const QByteArray sensfRes = Hex("14 01 01010701260cca02 0f0d23042f7783ff 12fc");
    auto script = std::make_unique<ScriptedTransport>();
    // nfcpy's chipset fixture (open), then test_sense_ttf_with_tt3_target_found
    // and test_sense_ttf_with_no_target_found, then test_close.
    script->steps = Steps({
        {W, kAck},
        {R, Hex("01020304")},
        {R, kTimeout},
        {W, Cmd("2a 01")},
        {R, kAck},
        {R, Rsp("2b 00")},
        {W, Cmd("20")},
        {R, kAck},
        {R, Rsp("21 1101")},
        {W, Cmd("22")},
        {R, kAck},
        {R, Rsp("23 0001")},
        {W, Cmd("06 00")},
        {R, kAck},
        {R, Rsp("07 00")},
        {W, Cmd("00 01010f01")},
        {R, kAck},
        {R, Rsp("01 00")},
        {W, Port100Frame::Data(Hex("D6") + defaults)},
        {R, kAck},
        {R, Rsp("03 00")},
        {W, Cmd("02 0018")},
        {R, kAck},
        {R, Rsp("03 00")},
        {W, Cmd("04 6e00 0600ffff0100")},
        {R, kAck},
        {R, Port100Frame::Data(Hex("D7050000000008") + sensfRes)},
    });
    for (const auto& step : Steps({{W, Cmd("04 6e00 0600ffff0100")},
                                   {R, kAck},
                                   {R, Rsp("05 80000000")},
                                   {W, Cmd("06 00")},
                                   {R, kAck},
                                   {R, Rsp("07 00")},
                                   {W, kAck}}))
        script->steps.push_back(step);
    ScriptedBus bus(0x06C1, std::move(script));
    {
        CPort100Mod module(bus, bus.Devices()[0], "Sony RC-S380/S");
        ASSERT_EQ(module.Open(), 1) << bus.script->errors.join('\n').toStdString();
        EXPECT_EQ(module.GetName(), "Sony RC-S380/S (Port-100 v1.11)");
        EXPECT_EQ(module.GetVersion(), 111);
        EXPECT_EQ(module.WaitForCard(100), 1) << bus.script->errors.join('\n').toStdString();
        EXPECT_EQ(module.WaitForCard(100), 0);
    }
    EXPECT_TRUE(bus.script->errors.isEmpty()) << bus.script->errors.join('\n').toStdString();
    EXPECT_EQ(bus.script->next, bus.script->steps.size());
}

TEST(UsbModules, Rcs956ReadsTheDocumentedFrames)
{
    const auto cmd = [](const char* hex) { return Pn53xFrame::Data(Hex("D4") + Hex(hex)); };
    const auto rsp = [](const char* hex) { return Pn53xFrame::Data(Hex("D5") + Hex(hex)); };
    auto script = std::make_unique<ScriptedTransport>();
    script->steps = Steps({
        {W, kAck},
        {R, kTimeout},
        {W, cmd("18 01")},
        {R, kAck},
        {R, rsp("19")},
        {W, kAck},
        {W, cmd("02")},
        {R, kAck},
        {R, rsp("03 33013007")},
        {W, cmd("32 02 0B0B0A")},
        {R, kAck},
        {R, rsp("33")},
        {W, cmd("32 04 00")},
        {R, kAck},
        {R, rsp("33")},
        {W, cmd("32 05 000001")},
        {R, kAck},
        {R, rsp("33")},
        // The documented polling frame; the answer as nfcpy's RC-S956 test records it.
        {W, Hex("0000FF09F7D44A01010000030100DC00")},
        {R, kAck},
        {R, rsp("4B 0101 14 01 0102030405060708 F1F2F3F4F5F6F7F8 AABB")},
        {W, cmd("32 01 00")},
        {R, kAck},
        {R, rsp("33")},
    });
    ScriptedBus bus(0x02E1, std::move(script));
    CPn53xMod module(bus, bus.Devices()[0], "Sony RC-S330/S360/S370");
    ASSERT_EQ(module.Open(), 1) << bus.script->errors.join('\n').toStdString();
    EXPECT_EQ(module.GetName(), "Sony RC-S330/S360/S370 (RC-S956 v1.30)");
    EXPECT_EQ(module.GetVersion(), 130);
    CardId idm{};
    CardId pmm{};
    ASSERT_EQ(module.Polling(idm, pmm, 0x0003, 0, 0), 1)
        << bus.script->errors.join('\n').toStdString();
    EXPECT_EQ(idm, (CardId{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(pmm, (CardId{0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8}));
    module.Close();
    EXPECT_TRUE(bus.script->errors.isEmpty()) << bus.script->errors.join('\n').toStdString();
    EXPECT_EQ(bus.script->next, bus.script->steps.size());
}

TEST(UsbModules, EachChipReadsTheWholeHistoryThroughItsEmulator)
{
    for (const bool port100 : {true, false}) {
        for (const int records : {20, 5, 0}) {
            SCOPED_TRACE(std::string(port100 ? "Port-100 " : "RC-S956 ") + std::to_string(records));
            Rig rig(port100, records);
            auto module = rig.Module();
            ASSERT_EQ(module->Open(), 1);
            EXPECT_EQ(module->WaitForCard(100), 1);
            CardId idm{};
            CardId pmm{};
            ASSERT_EQ(module->Polling(idm, pmm, 0x0003, 0, 0), 1);
            EXPECT_EQ(idm, rig.card.Image().idm);
            EXPECT_EQ(module->Polling(idm, pmm, 0x865E, 0, 0), 0); // not a system of the card
            HistoryBlocks blocks;
            ASSERT_EQ(module->ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 1);
            EXPECT_EQ(blocks, rig.card.Image().history);
            EXPECT_EQ(module->Close(), 1);
            EXPECT_EQ(module->IsOpen(), 0);
        }
    }
}

TEST(UsbModules, ABrokenAnswerFailsTheWholeRead)
{
    using Fault = UsbDeviceEmulator::Fault;
    const Fault both[] = {Fault::BadChecksum, Fault::ShortAnswer, Fault::Oversized,
                          Fault::ChipError,   Fault::NoAnswer,    Fault::Vanish};
    for (const bool port100 : {true, false}) {
        std::vector<Fault> faults(std::begin(both), std::end(both));
        if (!port100)
            faults.insert(faults.end(), {Fault::Nak, Fault::ErrorFrame});
        for (const Fault fault : faults) {
            SCOPED_TRACE(std::string(port100 ? "Port-100 " : "RC-S956 ") +
                         std::to_string(static_cast<int>(fault)));
            Rig rig(port100);
            rig.device->SetFault({fault, 7});
            auto module = rig.Module();
            ASSERT_EQ(module->Open(), 1);
            CardId idm{};
            CardId pmm{};
            ASSERT_EQ(module->Polling(idm, pmm, 0x0003, 0, 0), 1);
            HistoryBlocks blocks{HistoryBlock{}};
            EXPECT_EQ(module->ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0);
            EXPECT_TRUE(blocks.empty());
        }
    }
    // The card taken away half-way: the chip times out.
    VirtualCard::Faults removed;
    removed.removeAtBlock = 4;
    VirtualCard leaving(TestCard(20), removed);
    Port100Emulator rcs380(leaving);
    EmulatorBus bus(rcs380);
    auto module = UsbReaders::CreateModule(bus, bus.Devices()[0]);
    ASSERT_EQ(module->Open(), 1);
    CardId idm{};
    CardId pmm{};
    ASSERT_EQ(module->Polling(idm, pmm, 0x0003, 0, 0), 1);
    HistoryBlocks blocks;
    EXPECT_EQ(module->ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0);
    EXPECT_TRUE(blocks.empty());
}

TEST(UsbModules, ADeviceThatCannotBeOpenedOrDoesNotAnswer)
{
    Rig refused(true);
    refused.bus.access = UsbDeviceInfo::Access::NoPermission;
    auto module = refused.Module();
    EXPECT_EQ(module->Open(), 0);
    EXPECT_EQ(static_cast<CUsbMod*>(module.get())->OpenError(), "no permission");

    Rig gone(false);
    gone.device->SetFault({UsbDeviceEmulator::Fault::Vanish, 0});
    gone.device->Receive(Hex("0000FF12EED44210060102030405060708010F090180001600"));
    EXPECT_EQ(gone.Module()->Open(), 0);
}

TEST(UsbModules, SelectionTakesAUsbReaderAfterPcscAndBeforeTheLibrary)
{
    FakePcsc pcsc;
    Rig rig(true, 7);
    ReaderEnvironment environment{pcsc, "/nonexistent/libfelica.so", &rig.bus};
    CFelicaMod holder;
    ASSERT_EQ(SelectReader(holder, environment), kReaderReady);
    EXPECT_EQ(holder.family, CFelicaMod::Usb);
    EXPECT_EQ(holder.readerName, "Sony RC-S380/S");
    EXPECT_EQ(rig.bus.opened, 0); // opened by the read, not by the choice

    EntryLines lines;
    std::vector<CardHistoryRow> rows;
    CardInfo info;
    CardReadJob job(lines, rows, info);
    ASSERT_EQ(ReadCard(job, 0, environment, nullptr), kReaderReady);
    EXPECT_EQ(job.Blocks(), rig.card.Image().history);
    EXPECT_EQ(FormatIdm(info.idm), "011402123A4B5C6D");

    // A named PC/SC reader comes first.
    pcsc.readers = {"SCR331CL-NTTCom 00 00"};
    CFelicaMod named;
    ASSERT_EQ(SelectReader(named, environment), kReaderReady);
    EXPECT_EQ(named.family, CFelicaMod::Pcsc);

    // A reader the user may not open: the read says it could not open it.
    FakePcsc stopped;
    stopped.establishResult = SCARD_E_NO_SERVICE;
    rig.bus.access = UsbDeviceInfo::Access::NoPermission;
    ReaderEnvironment locked{stopped, "/nonexistent/libfelica.so", &rig.bus};
    EXPECT_EQ(ReadCard(job, 0, locked, nullptr), kReaderOpenFailed);
}
