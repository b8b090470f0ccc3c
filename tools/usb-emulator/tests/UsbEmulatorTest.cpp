// The device emulators answer the chips' documented frames byte for byte:
// the frames nfcpy's tests and a real RC-S380/P's log record, and frames
// computed by the chips' rules for a card of IDm 01..08 whose block 0 holds
// 10..1F.
#include "Port100Emulator.h"
#include "Rcs956Emulator.h"
#include "VirtualCard.h"

#include <gtest/gtest.h>

namespace
{
CardImage DocumentedCard()
{
    CardImage image;
    image.idm = {1, 2, 3, 4, 5, 6, 7, 8};
    image.pmm = {0x10, 0x0B, 0x4B, 0x42, 0x84, 0x85, 0xD0, 0xFF};
    image.systemCodes = {0x0003};
    HistoryBlock block;
    for (int i = 0; i < 16; ++i)
        block[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(0x10 + i);
    image.history = {block};
    return image;
}

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

const QByteArray kAck = Hex("0000FF00FF00");

struct Exchange {
    const char* name;
    const char* out;
    std::vector<const char*> in;
};

void Replay(UsbDeviceEmulator& device, const std::vector<Exchange>& exchanges)
{
    for (const Exchange& exchange : exchanges) {
        SCOPED_TRACE(exchange.name);
        std::vector<QByteArray> expected;
        for (const char* frame : exchange.in)
            expected.push_back(Hex(frame));
        EXPECT_EQ(device.Receive(Hex(exchange.out)), expected);
    }
}
} // namespace

TEST(Port100Emulator, AnswersTheRecordedAndDocumentedFrames)
{
    VirtualCard card(DocumentedCard());
    Port100Emulator rcs380(card);
    const char* ack = "0000FF00FF00";
    Replay(
        rcs380,
        {
            {"host ACK: nothing pending", ack, {}},
            {"SetCommandType 1", "0000FFFFFF0300FDD62A01FF00", {ack, "0000FFFFFF0300FDD72B00FE00"}},
            {"GetFirmwareVersion",
             "0000FFFFFF0200FED6200A00",
             {ack, "0000FFFFFF0400FCD7211101F600"}},
            {"SwitchRF off", "0000FFFFFF0300FDD606002400", {ack, "0000FFFFFF0300FDD707002200"}},
            {"InCommRF before InSetRF: a protocol error",
             "0000FFFFFF0A00F6D6046E00060000030100AE00",
             {ack, "0000FFFFFF0600FAD705010000002300"}},
            {"InSetRF 212F",
             "0000FFFFFF0600FAD60001010F011800",
             {ack, "0000FFFFFF0300FDD701002800"}},
            {"InSetProtocol 00 18",
             "0000FFFFFF0400FCD60200181000",
             {ack, "0000FFFFFF0300FDD703002600"}},
            // The documented reply with the extra byte 00; the chip sends
            // 08 there, which lowers the checksum by 8 (68 -> 60).
            {"polling 0003",
             "0000FFFFFF0A00F6D6046E00060000030100AE00",
             {ack, "0000FFFFFF1B00E5D7050000000008140101020304050607"
                   "08100B4B428485D0FF00036000"}},
            {"read block 0 (100 ms)",
             "0000FFFFFF1400ECD604F20310060102030405060708010F090180005D00",
             {ack, "0000FFFFFF2400DCD70500000000081D07010203040506070800000110111213141516171819"
                   "1A1B1C1D1E1F5B00"}},
            {"a frame with a bad checksum is ignored", "0000FFFFFF0300FDD62A01FE00", {}},
            {"an unknown command: a parameter error",
             "0000FFFFFF0200FED6121800",
             {ack, "0000FFFFFF0300FDD713011500"}},
        });
}

TEST(Port100Emulator, NoCardIsAReceiveTimeout)
{
    VirtualCard card(DocumentedCard());
    Port100Emulator rcs380(card);
    rcs380.SetCardPresent(false);
    rcs380.Receive(Hex("0000FFFFFF0600FAD60001010F011800"));
    const auto in = rcs380.Receive(Hex("0000FFFFFF0A00F6D6046E00060000030100AE00"));
    ASSERT_EQ(in.size(), 2u);
    EXPECT_EQ(in[1], Hex("0000FFFFFF0600FAD70580000000A400")); // status 80: no answer
}

TEST(Rcs956Emulator, AnswersTheDocumentedFrames)
{
    VirtualCard card(DocumentedCard());
    Rcs956Emulator rcs956(card);
    const char* ack = "0000FF00FF00";
    Replay(rcs956,
           {
               {"GetFirmwareVersion", "0000FF02FED4022A00", {ack, "0000FF06FAD50333013007BD00"}},
               {"InListPassiveTarget 212 kbps, system 0003",
                "0000FF09F7D44A01010000030100DC00",
                {ack, "0000FF18E8D54B010114010102030405060708100B4B428485D0FF00032200"}},
               {"InCommunicateThru: read block 0",
                "0000FF12EED442100601020304050607080"
                "10F090180001600",
                {ack, "0000FF20E0D543001D07010203040506070800000110111213141516171819"
                      "1A1B1C1D1E1F2700"}},
               {"a command it does not know: the error frame",
                "0000FF02FED4FF2D00",
                {ack, "0000FF01FF7F8100"}},
               {"a frame with a bad checksum is ignored", "0000FF02FED4022B00", {}},
           });
    rcs956.SetCardPresent(false);
    Replay(rcs956, {{"the card has gone: a timeout",
                     "0000FF12EED44210060102030405060708010F090180001600",
                     {ack, "0000FF03FDD54301E700"}}});
}

TEST(UsbDeviceEmulators, FaultsBreakTheReadOfOneBlockOnly)
{
    VirtualCard card(DocumentedCard());
    Rcs956Emulator rcs956(card);
    const QByteArray read0 = Hex("0000FF12EED44210060102030405060708010F090180001600");
    rcs956.SetFault({UsbDeviceEmulator::Fault::Nak, 0});
    EXPECT_EQ(rcs956.Receive(read0), std::vector<QByteArray>{Hex("0000FFFF0000")});
    rcs956.SetFault({UsbDeviceEmulator::Fault::ErrorFrame, 0});
    EXPECT_EQ(rcs956.Receive(read0), (std::vector<QByteArray>{kAck, Hex("0000FF01FF7F8100")}));
    rcs956.SetFault({UsbDeviceEmulator::Fault::Vanish, 3});
    EXPECT_EQ(rcs956.Receive(read0).size(), 2u);
    rcs956.SetFault({UsbDeviceEmulator::Fault::Vanish, 0});
    EXPECT_TRUE(rcs956.Receive(read0).empty());
    EXPECT_TRUE(rcs956.Vanished());
}
