// The ACS and Identiv/SCM readers that the name table does not list: how
// they are told apart, and that each family's module reads a card through
// the family's own pseudo-APDUs as the reader presents it.
#include "PcscFamilies.h"

#include "CFelicaMod.h"
#include "CPcscAcr122.h"
#include "CPcscAcsDirect.h"
#include "CPcscIdentiv.h"
#include "CPcscPart3.h"
#include "FakePcsc.h"
#include "KnownReaders.h"
#include "ReaderPersonality.h"
#include "ReaderSelection.h"
#include "TestCards.h"

#include <gtest/gtest.h>

namespace
{
const QString kAcr122 = "ACS ACR122U PICC Interface 00 00";
const QString kAcr1252 = "ACS ACR1252 Dual Reader [ACR1252 Dual Reader PICC] 00 00";
const QString kUtrust = "Identiv uTrust 3700 F CL Reader [uTrust 3700 F CL Reader] (5504191) 00 00";

struct Family {
    const char* personality;
    int model;
    QString reader;
    const char* polling;   // the first polling for system 0003
    const char* readBlock; // the read of block 0
};

const QString kIdm = "01 14 02 12 3A 4B 5C 6D";
const Family kFamilies[] = {
    {"acr122", KnownReaders::kAcr122Model, kAcr122, "FF 00 00 00 09 D4 4A 01 01 00 00 03 01 00",
     "FF 00 00 00 13 D4 40 01 10 06 01 14 02 12 3A 4B 5C 6D 01 0F 09 01 80 00"},
    {"acs-direct", KnownReaders::kAcsDirectModel, kAcr1252, "FF 00 00 00 06 06 00 00 03 01 00",
     "FF 00 00 00 10 10 06 01 14 02 12 3A 4B 5C 6D 01 0F 09 01 80 00"},
    {"identiv", KnownReaders::kIdentivModel, kUtrust, "FF 40 00 00 04 00 03 01 00",
     "FF 46 01 01 04 0F 09 80 00"},
};

// A card on one reader, presented as the reader's family presents it.
struct Placed {
    explicit Placed(const char* personality, int records = 5, VirtualCard::Faults faults = {})
        : card(TestCard(records), faults),
          reader(ReaderPersonality::Create(QString::fromLatin1(personality), card))
    {
    }
    void On(FakePcsc& pcsc, const QString& name)
    {
        pcsc.placed[name] = {reader->Atr(),
                             [this](const QByteArray& apdu) { return reader->Respond(apdu); }};
    }

    VirtualCard card;
    std::unique_ptr<ReaderPersonality> reader;
};

QStringList Transmitted(const FakePcsc& pcsc)
{
    QStringList sent;
    for (QString line : pcsc.Calls("transmit"))
        sent << line.mid(9, line.lastIndexOf(" /") - 9);
    return sent;
}
} // namespace

TEST(PcscFamilies, ToldByNameAndAtr)
{
    const std::pair<const char*, int> names[] = {
        {"ACS ACR122U PICC Interface 00 00", KnownReaders::kAcr122Model},
        {"ACS ACR1252 Dual Reader [ACR1252 Dual Reader PICC] 00 00", KnownReaders::kAcsDirectModel},
        {"ACS ACR1251 CL Reader [ACR1251 CL Reader PICC] 00 00", KnownReaders::kAcsDirectModel},
        {"ACS ACR1252 Dual Reader [ACR1252 Dual Reader SAM] 00 01", 0},
        {"ACS ACR39U ICC Reader 00 00", 0},
        {"Identiv uTrust 3700 F CL Reader [uTrust 3700 F CL Reader] (1) 00 00",
         KnownReaders::kIdentivModel},
        {"SCM Microsystems Inc. SCL011 Contactless Reader [SCL011] 00 00",
         KnownReaders::kIdentivModel},
        {"Identive SCL3711 Reader and NFC device 00 00", KnownReaders::kIdentivModel},
        {"SCM Microsystems Inc. SCR 3310 v2.0 USB SC Reader 00 00", 0},
        {"Sony FeliCa Port/PaSoRi 4.0 00 00", 0},
    };
    for (const auto& [name, model] : names)
        EXPECT_EQ(PcscFamilies::ByName(name), model) << name;

    const QByteArray mifare = QByteArray::fromHex("3B8F8001804F0CA000000306030001000000006A");
    EXPECT_EQ(PcscFamilies::ByAtr(ReaderPersonality::Acr122Atr()), KnownReaders::kAcr122Model);
    EXPECT_TRUE(PcscFamilies::IsFelicaAtr(ReaderPersonality::Acr122Atr()));
    EXPECT_EQ(PcscFamilies::ByAtr(ReaderPersonality::FelicaAtr()), 0);
    EXPECT_TRUE(PcscFamilies::IsFelicaAtr(ReaderPersonality::FelicaAtr()));
    EXPECT_FALSE(PcscFamilies::IsFelicaAtr(mifare));
    EXPECT_FALSE(PcscFamilies::IsFelicaAtr(QByteArray::fromHex("3B8F80")));
}

TEST(PcscFamilies, EachFamilyReadsThroughItsOwnCommands)
{
    for (const Family& family : kFamilies) {
        SCOPED_TRACE(family.personality);
        FakePcsc pcsc;
        Placed placed(family.personality, 5);
        placed.On(pcsc, family.reader);
        HistoryBlocks blocks;
        CardId idm{};
        CardId pmm{};
        {
            auto module = KnownReaders::CreateModule(family.model, pcsc, family.reader);
            ASSERT_EQ(module->Polling(idm, pmm, 0x0003, 0, 0), 1)
                << pcsc.log.join('\n').toStdString();
            EXPECT_EQ(idm, placed.card.Image().idm);
            EXPECT_EQ(pmm, placed.card.Image().pmm);
            EXPECT_EQ(module->Polling(idm, pmm, 0x865E, 0, 0), 0); // not a system of the card
            ASSERT_EQ(module->ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 1);
            // No vendor escapes and no modes for these readers.
            EXPECT_EQ(module->SwitchReaderMode(1), 0);
            EXPECT_EQ(module->GetName(), family.reader);
        }
        ASSERT_EQ(blocks.size(), 5u);
        EXPECT_EQ(blocks, placed.card.Image().history);
        const QStringList sent = Transmitted(pcsc);
        EXPECT_EQ(sent.value(0), family.polling);
        EXPECT_TRUE(sent.contains(family.readBlock)) << sent.join('\n').toStdString();
        EXPECT_TRUE(pcsc.Calls("control").isEmpty());
        EXPECT_EQ(pcsc.openCards, 0);
        EXPECT_EQ(pcsc.openContexts, 0);
    }
}

TEST(PcscFamilies, AnyFaultFailsTheWholeRead)
{
    struct Fault {
        const char* name;
        VirtualCard::Faults faults;
    };
    const Fault faults[] = {
        {"card removed", {3, -1, -1, true}},
        {"error status", {-1, 2, -1, true}},
        {"answer cut short", {-1, -1, 2, true}},
    };
    for (const Family& family : kFamilies) {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(family.personality) + ": " + fault.name);
            FakePcsc pcsc;
            Placed placed(family.personality, 20, fault.faults);
            placed.On(pcsc, family.reader);
            auto module = KnownReaders::CreateModule(family.model, pcsc, family.reader);
            CardId idm{};
            CardId pmm{};
            ASSERT_EQ(module->Polling(idm, pmm, 0x0003, 0, 0), 1);
            HistoryBlocks blocks{HistoryBlock{}};
            EXPECT_EQ(module->ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0);
            EXPECT_TRUE(blocks.empty());
        }
    }
}

TEST(PcscFamilies, Acr122FetchesAnAnswerItWasToldToAskFor)
{
    FakePcsc pcsc;
    Placed placed("acr122", 2);
    QByteArray pending;
    // In T=0 the reader says 61 xx, and GET RESPONSE (FF C0) fetches the answer.
    pcsc.placed[kAcr122] = {placed.reader->Atr(), [&](const QByteArray& apdu) {
                                if (apdu.startsWith(QByteArray::fromHex("FFC00000")))
                                    return pending;
                                pending = placed.reader->Respond(apdu);
                                return QByteArray::fromHex("61") +
                                       QByteArray(1, static_cast<char>(pending.size() - 2));
                            }};
    CPcscAcr122 module(pcsc, kAcr122);
    CardId idm{};
    CardId pmm{};
    HistoryBlocks blocks;
    ASSERT_EQ(module.Polling(idm, pmm, 0x0003, 0, 0), 1);
    ASSERT_EQ(module.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 1);
    EXPECT_EQ(blocks.size(), 2u);
}

TEST(PcscFamilies, SelectionTakesNamedThenPart3ThenFamilies)
{
    struct Case {
        const char* name;
        QStringList readers;
        std::vector<std::pair<QString, const char*>> cards; // reader, personality
        QString chosen;
        int model;
    };
    const QString part3 = "Sony FeliCa Port/PaSoRi 4.0 00 00";
    const QString unknown = "Virtual PCD 00 00";
    const Case cases[] = {
        {"ACR122U with a card",
         {kAcr122},
         {{kAcr122, "acr122"}},
         kAcr122,
         KnownReaders::kAcr122Model},
        {"empty ACR122U: waited at, not taken for Part 3",
         {kAcr122},
         {},
         kAcr122,
         KnownReaders::kAcr122Model},
        {"empty ACR1252", {kAcr1252}, {}, kAcr1252, KnownReaders::kAcsDirectModel},
        {"Part 3 before the families",
         {kAcr122, part3},
         {{part3, "standard"}},
         part3,
         KnownReaders::kPart3Model},
        {"the name table first",
         {kUtrust, "SCR331CL-NTTCom 00 00"},
         {},
         "SCR331CL-NTTCom 00 00",
         1},
        {"ACR122U told by its ATR",
         {unknown},
         {{unknown, "acr122"}},
         unknown,
         KnownReaders::kAcr122Model},
        {"FeliCa card on an unknown reader answering FF 40",
         {unknown},
         {{unknown, "identiv"}},
         unknown,
         KnownReaders::kIdentivModel},
        {"FeliCa card on an unknown reader answering direct frames",
         {unknown},
         {{unknown, "acs-direct"}},
         unknown,
         KnownReaders::kAcsDirectModel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePcsc pcsc;
        pcsc.readers = c.readers;
        std::vector<std::unique_ptr<Placed>> cards;
        for (const auto& [reader, personality] : c.cards) {
            cards.push_back(std::make_unique<Placed>(personality));
            cards.back()->On(pcsc, reader);
        }
        CFelicaMod holder;
        ReaderEnvironment environment{pcsc, "/nonexistent/libfelica.so"};
        ASSERT_EQ(SelectReader(holder, environment), kReaderReady);
        EXPECT_EQ(holder.readerName, c.chosen);
        EXPECT_EQ(holder.modelIndex, c.model);
    }
}

TEST(PcscFamilies, FelicaCardOnAReaderThatAnswersNoFamilyIsRefused)
{
    FakePcsc pcsc;
    pcsc.readers = {"Virtual PCD 00 00"};
    pcsc.placed["Virtual PCD 00 00"] = {ReaderPersonality::FelicaAtr(), [](const QByteArray&) {
                                            return QByteArray::fromHex("6A81");
                                        }};
    CFelicaMod holder;
    ReaderEnvironment environment{pcsc, "/nonexistent/libfelica.so"};
    EXPECT_EQ(SelectReader(holder, environment), kReaderOpenFailed);
}
