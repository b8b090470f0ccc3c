#include "CPcscCloud.h"
#include "CPcscMod.h"
#include "CPcscMrica.h"
#include "CPcscPart3.h"
#include "FakePcsc.h"
#include "PcscPlatform.h"
#include "TestCards.h"

#include <gtest/gtest.h>

namespace
{
const QString kReader = "SCM Microsystems SCR331CL-NTTCom 00 00";

class PcscModTest : public ::testing::Test
{
protected:
    void PlaceCard(int records, VirtualCard::Faults faults = {})
    {
        card = std::make_unique<VirtualCard>(TestCard(records), faults);
        pcsc.card = card.get();
    }

    FakePcsc pcsc;
    std::unique_ptr<VirtualCard> card;
    CardId idm{};
    CardId pmm{};
    HistoryBlocks blocks;
};
} // namespace

TEST_F(PcscModTest, PollingAndReadSendTheExactCommands)
{
    PlaceCard(5);
    {
        CPcscMod mod(pcsc, kReader);
        ASSERT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 1);
        EXPECT_EQ(idm, card->Image().idm);
        EXPECT_EQ(pmm, card->Image().pmm);
        pcsc.log.clear();
        ASSERT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 1);
    }
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_EQ(blocks[4], card->Image().history[4]);
    QStringList expected = {"begin", "transmit FF 40 00 00 04 00 03 01 00 /256"};
    for (int n = 0; n <= 5; ++n)
        expected << QString("transmit FF 46 01 01 04 0F 09 80 %1 /256").arg(n, 2, 10, QChar('0'));
    expected << "end 0"
             << "disconnect 0"
             << "release";
    EXPECT_EQ(pcsc.log, expected);
    EXPECT_EQ(pcsc.openCards, 0);
    EXPECT_EQ(pcsc.openContexts, 0);
}

TEST_F(PcscModTest, PollingAsksForTheSystemThenTheIdentifiers)
{
    PlaceCard(1);
    CPcscMod mod(pcsc, kReader);
    mod.Polling(idm, pmm, 0x865E, 0, 0);
    EXPECT_EQ(
        pcsc.Calls("transmit"),
        QStringList({"transmit FF 40 00 00 04 86 5E 01 00 /256"})); // not a system of the card
    pcsc.log.clear();
    ASSERT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 1);
    EXPECT_EQ(pcsc.log, QStringList({"begin", "transmit FF 40 00 00 04 00 03 01 00 /256", "end 0",
                                     "begin", "transmit FF 40 00 00 04 FF FF 00 00 /30", "end 0"}));
}

TEST_F(PcscModTest, HistoryEndsEarly)
{
    PlaceCard(20);
    auto image = card->Image();
    image.history[3][0] = 0;
    image.history[3][1] = 0;
    VirtualCard shortened(image);
    pcsc.card = &shortened;
    CPcscMod mod(pcsc, kReader);
    ASSERT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 1);
    EXPECT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 1);
    EXPECT_EQ(blocks.size(), 3u);
    EXPECT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 0), 1); // nothing asked, nothing read
}

TEST_F(PcscModTest, FailedTransfersLeaveNoBlocks)
{
    const VirtualCard::Faults faults[] = {{3, -1, -1}, {-1, 3, -1}, {-1, -1, 3}};
    for (const auto& fault : faults) {
        PlaceCard(10, fault);
        blocks = {HistoryBlock{}};
        CPcscMod mod(pcsc, kReader);
        ASSERT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 1);
        EXPECT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0);
        EXPECT_TRUE(blocks.empty());
        EXPECT_EQ(pcsc.Calls("begin").size(), pcsc.Calls("end").size());
    }
}

TEST_F(PcscModTest, ReadWithoutConnectionFails)
{
    PlaceCard(3);
    CPcscMod mod(pcsc, kReader);
    EXPECT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0);
    EXPECT_TRUE(pcsc.Calls("transmit").isEmpty());
}

TEST_F(PcscModTest, ShortResponsesAreFailedCommands)
{
    PlaceCard(3);
    // 90 00 after too few bytes: nothing may be read beyond what arrived.
    pcsc.answer = [](const QByteArray& command) {
        return command.startsWith(QByteArray("\xFF\x40\x00\x00\x04\xFF\xFF", 7))
                   ? QByteArray(10, '\x07') + QByteArray("\x90\x00", 2)
                   : QByteArray("\x90\x00", 2);
    };
    CPcscMod mod(pcsc, kReader);
    idm = {9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 0);
    EXPECT_EQ(idm, (CardId{9, 9, 9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0); // block 0 answers 2 bytes
    EXPECT_TRUE(blocks.empty());
}

TEST_F(PcscModTest, NameCarriesTheFirmwareVersion)
{
    PlaceCard(1);
    pcsc.controlOutput = QByteArray("\x01\x17", 2);
    CPcscMod mod(pcsc, kReader);
    EXPECT_EQ(mod.GetName(), kReader); // no card handle: no version
    ASSERT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 1);
    EXPECT_EQ(mod.GetVersion(), 123);
    EXPECT_EQ(mod.GetName(), "SCM  1.23");
    EXPECT_EQ(pcsc.Calls("control").value(0),
              QString("control %1 1E /40").arg(SCARD_CTL_CODE(3500), 0, 16));
    pcsc.controlResult = SCARD_E_NOT_TRANSACTED;
    EXPECT_EQ(mod.GetName(), kReader);
    CPcscMod oneWord(pcsc, "Reader");
    EXPECT_EQ(oneWord.GetName(), "Reader");
}

TEST_F(PcscModTest, ModuleWithoutServiceHasNoName)
{
    pcsc.establishResult = SCARD_E_NO_SERVICE;
    CPcscMod mod(pcsc, kReader);
    EXPECT_EQ(mod.GetName(), "");
    EXPECT_EQ(mod.IsOpen(), 0);
    EXPECT_EQ(mod.Open(), 0);
    EXPECT_EQ(mod.IsAvailable(), 1);
}

TEST_F(PcscModTest, ReaderModesAndParametersPerFamily)
{
    struct Case {
        std::function<std::unique_ptr<CPcscMod>()> make;
        QString resting, reading, get;
    };
    const Case cases[] = {
        {[&] { return std::make_unique<CPcscMod>(pcsc, kReader); }, "95 1B", "95 18", "94"},
        {[&] { return std::make_unique<CPcscCloud>(pcsc, kReader); }, "95 FF FF", "95 FF 60",
         "94 FF"},
        {[&] { return std::make_unique<CPcscMrica>(pcsc, kReader); }, "FF 00 41 01 01 01",
         "FF 00 41 01 01 0C", "FF 00 41 01 00"},
    };
    const QString code = QString::number(SCARD_CTL_CODE(3500), 16);
    for (const Case& c : cases) {
        pcsc.log.clear();
        pcsc.controlOutput = QByteArray("\x42", 1);
        auto mod = c.make();
        EXPECT_EQ(mod->SwitchReaderMode(1), 1);
        EXPECT_EQ(mod->SwitchReaderMode(0), 1);
        const QStringList expected = {
            "establish",
            QString("connect %1 share=%2 protocols=0").arg(kReader).arg(SCARD_SHARE_DIRECT),
            QString("control %1 %2 /256").arg(code, c.reading),
            QString("disconnect %1").arg(SCARD_UNPOWER_CARD),
            QString("connect %1 share=%2 protocols=0").arg(kReader).arg(SCARD_SHARE_DIRECT),
            QString("control %1 %2 /256").arg(code, c.resting),
            QString("disconnect %1").arg(SCARD_UNPOWER_CARD)};
        EXPECT_EQ(pcsc.log, expected);

        // A card of another system: connected, but the polling finds nothing.
        pcsc.answer = [](const QByteArray&) { return QByteArray("\x6A\x81", 2); };
        ASSERT_EQ(mod->Polling(idm, pmm, 0x0003, 0, 0), 0);
        pcsc.answer = nullptr;
        std::uint8_t value = 0;
        pcsc.log.clear();
        EXPECT_EQ(mod->GetReaderParameter(value), 1);
        EXPECT_EQ(value, 0x42);
        EXPECT_EQ(pcsc.log.value(0), QString("control %1 %2 /256").arg(code, c.get));

        pcsc.directConnectResult = SCARD_E_READER_UNAVAILABLE;
        EXPECT_EQ(mod->SwitchReaderMode(1), 0);
        pcsc.directConnectResult = SCARD_S_SUCCESS;
    }
}

TEST_F(PcscModTest, CircleReaderCommands)
{
    PlaceCard(5);
    CPcscMrica mod(pcsc, kReader);
    ASSERT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 1);
    EXPECT_EQ(idm, card->Image().idm);
    EXPECT_EQ(pmm, card->Image().pmm);
    EXPECT_EQ(pcsc.Calls("transmit"), QStringList({"transmit FF AB 00 00 05 00 00 03 01 00 /30"}));
    pcsc.log.clear();
    ASSERT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 1);
    ASSERT_EQ(blocks.size(), 5u);
    const QStringList sent = pcsc.Calls("transmit");
    EXPECT_EQ(pcsc.Calls("begin").size(), 1);
    EXPECT_EQ(sent.value(0), "transmit FF 00 41 81 01 0C /256");
    EXPECT_EQ(sent.value(4),
              "transmit FF AB 00 00 0F 06 01 14 02 12 3A 4B 5C 6D 01 0F 09 01 80 03 /256");
    EXPECT_EQ(sent.size(), 7); // setup, blocks 0-4, and block 5 answering flags 01 A1
}

TEST_F(PcscModTest, CircleReaderFailures)
{
    PlaceCard(5);
    CPcscMrica mod(pcsc, kReader);
    idm = {7, 7, 7, 7, 7, 7, 7, 7};
    EXPECT_EQ(mod.Polling(idm, pmm, 0x80DE, 0, 0), 0); // 6A 81
    EXPECT_EQ(idm, (CardId{7, 7, 7, 7, 7, 7, 7, 7}));
    EXPECT_EQ(mod.PollSystem(0x0003), 1);
    EXPECT_EQ(mod.PollSystem(0x80DE), 0);

    ASSERT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 1);
    PlaceCard(5, {2, -1, -1});
    blocks = {HistoryBlock{}};
    EXPECT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0);
    EXPECT_TRUE(blocks.empty());
}

TEST_F(PcscModTest, ReadWhoseOpeningCommandFailsReadsNothing)
{
    // The card answered the polling, then is gone before the history is read.
    PlaceCard(5);
    CPcscMod mod(pcsc, kReader);
    ASSERT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 1);
    pcsc.answer = [](const QByteArray&) { return QByteArray("\x6A\x81", 2); };
    blocks = {HistoryBlock{}};
    EXPECT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0);
    EXPECT_EQ(blocks.size(), 1u);

    // The Circle reader's setup command fails as a call.
    PlaceCard(5);
    pcsc.answer = nullptr;
    CPcscMrica circle(pcsc, kReader);
    ASSERT_EQ(circle.Polling(idm, pmm, 0x0003, 0, 0), 1);
    pcsc.answer = [](const QByteArray&) { return QByteArray(); };
    EXPECT_EQ(circle.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0);
    EXPECT_EQ(pcsc.Calls("begin").size(), pcsc.Calls("end").size());
}

TEST_F(PcscModTest, Part3ReaderCarriesFelicaFramesInATransparentSession)
{
    PlaceCard(5);
    CPcscPart3 mod(pcsc, "Sony FeliCa Port/PaSoRi 4.0 00 00");
    ASSERT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 1);
    EXPECT_EQ(idm, card->Image().idm);
    EXPECT_EQ(pmm, card->Image().pmm);
    EXPECT_EQ(pcsc.log.mid(pcsc.log.indexOf("begin")).join('\n').toStdString(),
              QStringList({"begin", "transmit FF C2 00 00 02 81 00 00 /256",
                           "transmit FF C2 00 02 04 8F 02 03 00 00 /256",
                           "transmit FF C2 00 01 08 95 06 06 00 00 03 01 00 00 /256",
                           "transmit FF C2 00 00 02 82 00 00 /256", "end 0"})
                  .join('\n')
                  .toStdString());
    pcsc.log.clear();
    ASSERT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 1);
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_EQ(blocks[4], card->Image().history[4]);
    EXPECT_EQ(
        pcsc.Calls("transmit").value(2).toStdString(),
        "transmit FF C2 00 01 12 95 10 10 06 01 14 02 12 3A 4B 5C 6D 01 0F 09 01 80 00 00 /256");
    EXPECT_EQ(pcsc.Calls("control").size(), 0);
    EXPECT_EQ(mod.SwitchReaderMode(1), 0); // no vendor escapes to an unknown reader
    EXPECT_EQ(pcsc.Calls("control").size(), 0);
}

TEST_F(PcscModTest, Part3AnswersThatFailAreFailedCommands)
{
    const struct {
        const char* name;
        const char* answer;
    } cases[] = {
        {"no status object", "97 02 02 01 90 00"},
        {"failed status", "C0 03 00 64 01 90 00"},
        {"short status", "C0 02 00 90 90 00"},
        {"object longer than the answer", "C0 03 00 90 00 97 40 01 90 00"},
        {"tag without length", "C0 03 00 90 00 97 90 00"},
        {"status word", "C0 03 00 90 00 6A 81"},
        {"frame length wrong", "C0 03 00 90 00 97 03 09 01 02 90 00"},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray reply = QByteArray::fromHex(QByteArray(c.answer).replace(' ', ""));
        pcsc.answer = [&](const QByteArray& command) {
            // Sessions succeed; the exchange answers as the case says.
            if (command.startsWith(QByteArray::fromHex("FFC20001")))
                return reply;
            return QByteArray::fromHex("C0030090009000");
        };
        CPcscPart3 mod(pcsc, "Sony FeliCa Port/PaSoRi 4.0 00 00");
        idm = {1, 1, 1, 1, 1, 1, 1, 1};
        EXPECT_EQ(mod.Polling(idm, pmm, 0x0003, 0, 0), 0);
        EXPECT_EQ(idm, (CardId{1, 1, 1, 1, 1, 1, 1, 1}));
        blocks = {HistoryBlock{}};
        EXPECT_EQ(mod.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0);
        EXPECT_TRUE(blocks.empty());
    }
}
