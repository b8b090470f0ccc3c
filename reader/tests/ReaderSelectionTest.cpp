#include "ReaderSelection.h"

#include "CFelicaMod.h"
#include "CPcscCloud.h"
#include "CPcscMrica.h"
#include "CardReadJob.h"
#include "CardReader.h"
#include "FakePcsc.h"
#include "KnownReaders.h"
#include "ReaderPlatform.h"
#include "TestCards.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(KnownReaders, FirstMatchingRowWins)
{
    const std::pair<const char*, int> cases[] = {
        {"SCM Microsystems Inc. SCR331CL-NTTCom 00 00", 1},
        {"Identiv uTrust 4701 F CL Reader 01", 5},
        {"Identiv uTrust 4701 F CT_CL Reader [CL] 00", 2},
        {"Identive CLOUD 4700 F Contactless Reader 0", 3},
        {"Identiv CLOUD 3701 F Contactless Reader 0", 4},
        {"ACS ACR1251 CL Reader PICC 00 00", 6},
        {"ACS ACR1252 1S CL Reader PICC 00 01", 7},
        {"Circle CIR315 CL 00 00", 8},
        {"scr331cl-nttcom", 0},
        {"Sony FeliCa Port/PaSoRi 4.0 00 00", 0},
    };
    for (const auto& [name, index] : cases)
        EXPECT_EQ(KnownReaders::ModelIndex(name), index) << name;

    FakePcsc pcsc;
    EXPECT_NE(dynamic_cast<CPcscCloud*>(KnownReaders::CreateModule(5, pcsc, "x").get()), nullptr);
    EXPECT_NE(dynamic_cast<CPcscMrica*>(KnownReaders::CreateModule(8, pcsc, "x").get()), nullptr);
    auto plain = KnownReaders::CreateModule(7, pcsc, "x");
    EXPECT_EQ(dynamic_cast<CPcscCloud*>(plain.get()), nullptr);
    EXPECT_EQ(dynamic_cast<CPcscMrica*>(plain.get()), nullptr);
}

namespace
{
class SelectionTest : public ::testing::Test
{
protected:
    int Select(const QString& library = QString())
    {
        ReaderEnvironment environment{pcsc, library};
        return SelectReader(holder, environment);
    }

    FakePcsc pcsc;
    CFelicaMod holder;
};
} // namespace

TEST_F(SelectionTest, RecognisedReaderIsSwitchedToReadingAndKept)
{
    pcsc.readers = {"Sony FeliCa Port 00 00", "Circle CIR315 CL 00 00", "SCR331CL-NTTCom 00 00"};
    EXPECT_EQ(Select(), 0);
    EXPECT_EQ(holder.readerName, "Circle CIR315 CL 00 00");
    EXPECT_EQ(holder.modelIndex, 8);
    EXPECT_EQ(holder.family, CFelicaMod::Pcsc);
    EXPECT_NE(dynamic_cast<CPcscMrica*>(holder.module.get()), nullptr);
    EXPECT_FALSE(pcsc.Calls("connect Sony").size()); // never used
    EXPECT_TRUE(pcsc.Calls("control").value(0).endsWith("FF 00 41 01 01 0C /256"));
}

TEST_F(SelectionTest, ReaderThatCannotOpenIsSkipped)
{
    pcsc.readers = {"SCR331CL-NTTCom 00 00", "ACS ACR1252 1S CL Reader PICC 00 00"};
    pcsc.connectResults["SCR331CL-NTTCom 00 00"] = SCARD_E_SHARING_VIOLATION;
    EXPECT_EQ(Select(), 0);
    EXPECT_EQ(holder.modelIndex, 7);

    CFelicaMod removed;
    ReaderEnvironment environment{pcsc, QString()};
    pcsc.connectResults["SCR331CL-NTTCom 00 00"] = SCARD_W_REMOVED_CARD;
    EXPECT_EQ(FindPcscReader(removed, environment), SCARD_S_SUCCESS);
    EXPECT_EQ(removed.modelIndex, 1);
}

TEST_F(SelectionTest, EmptyRecognisedReaderIsTheReaderToWaitAt)
{
    // pcsc-lite refuses a shared connection to an empty reader with
    // SCARD_E_NO_SMARTCARD: the reader is still taken and switched to reading.
    pcsc.readers = {"SCR331CL-NTTCom 00 00"};
    ReaderEnvironment environment{pcsc, "/nonexistent/libfelica.so"};
    EXPECT_EQ(FindPcscReader(holder, environment), SCARD_S_SUCCESS);
    CFelicaMod selected;
    EXPECT_EQ(SelectReader(selected, environment), kReaderReady);
    EXPECT_EQ(selected.modelIndex, 1);
    EXPECT_TRUE(pcsc.Calls("control").value(0).endsWith("95 18 /256"));
}

TEST_F(SelectionTest, UnknownContactlessReaderThatSpeaksPart3)
{
    struct Case {
        const char* name;
        QStringList readers;
        bool cardOn;
        bool part3;
        int result;
    };
    const Case cases[] = {
        {"speaks Part 3", {"Sony FeliCa Port/PaSoRi 4.0 00 00"}, true, true, kReaderReady},
        {"refuses the session",
         {"Sony FeliCa Port/PaSoRi 4.0 00 00"},
         true,
         false,
         kReaderOpenFailed},
        {"empty contactless", {"Sony FeliCa Port/PaSoRi 4.0 00 00"}, false, true, kReaderReady},
        {"empty other", {"Generic Smart Card Reader 00 00"}, false, true, kReaderOpenFailed},
        {"named readers first",
         {"Sony FeliCa Port/PaSoRi 4.0 00 00", "SCR331CL-NTTCom 00 00"},
         true,
         true,
         kReaderReady},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePcsc fake;
        fake.readers = c.readers;
        VirtualCard::Faults faults;
        faults.part3 = c.part3;
        VirtualCard placed(TestCard(3), faults);
        if (c.cardOn)
            fake.card = &placed;
        {
            CFelicaMod h;
            ReaderEnvironment environment{fake, "/nonexistent/libfelica.so"};
            EXPECT_EQ(SelectReader(h, environment), c.result);
            if (c.result == kReaderReady) {
                EXPECT_EQ(h.modelIndex, c.readers.size() == 2 ? 1 : KnownReaders::kPart3Model);
            }
        }
        EXPECT_EQ(fake.openContexts, 0);
        EXPECT_EQ(fake.openCards, 0);
    }
}

TEST_F(SelectionTest, ResultCodesWithoutVendorLibrary)
{
    struct Case {
        LONG establish, list;
        QStringList readers;
        LONG connect;
        int result;
    };
    const Case cases[] = {
        {SCARD_E_NO_SERVICE, SCARD_S_SUCCESS, {}, SCARD_S_SUCCESS, kReaderServiceStopped},
        {SCARD_S_SUCCESS, SCARD_S_SUCCESS, {}, SCARD_S_SUCCESS, kReaderNotConnected},
        {SCARD_S_SUCCESS, SCARD_E_UNKNOWN_READER, {}, SCARD_S_SUCCESS, kReaderNotConnected},
        {SCARD_S_SUCCESS, SCARD_S_SUCCESS, {"Other Reader 00"}, SCARD_S_SUCCESS, kReaderOpenFailed},
        {SCARD_S_SUCCESS,
         SCARD_S_SUCCESS,
         {"SCR331CL-NTTCom 0"},
         SCARD_E_SHARING_VIOLATION,
         kReaderOpenFailed},
    };
    for (const Case& c : cases) {
        FakePcsc fake;
        fake.establishResult = c.establish;
        fake.listResult = c.list;
        fake.readers = c.readers;
        for (const QString& r : c.readers)
            fake.connectResults[r] = c.connect;
        CFelicaMod h;
        ReaderEnvironment environment{fake, "/nonexistent/libfelica.so"};
        EXPECT_EQ(SelectReader(h, environment), c.result);
        EXPECT_EQ(h.family, CFelicaMod::VendorLibraryMissing);
        EXPECT_EQ(fake.openContexts, 0);
    }
    // A stopped service's message says what to do about it.
    const QString stopped = ReaderMessageText(kReaderServiceStopped);
    EXPECT_TRUE(stopped.startsWith("SmartCardサービスが停止しています。\n\n"));
    EXPECT_TRUE(stopped.endsWith(ReaderPlatform::ServiceStoppedAdvice()));
    EXPECT_TRUE(ReaderMessageDetails(kReaderServiceStopped).contains("README"));
    EXPECT_EQ(ReaderMessageId(kReaderNotConnected), 180);
    EXPECT_EQ(ReaderMessageText(kReaderOpenFailed), "カードリーダーのオープンに失敗しました。");
}

TEST_F(SelectionTest, VendorLibraryWhenNoPcscReader)
{
    QTemporaryDir dir;
    const QString image = dir.filePath("card.json");
    {
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(TestCard(4).ToJson());
    }
    qputenv("FENWIR_CARD_IMAGE", image.toUtf8());
    EXPECT_EQ(Select(FENWIR_FELICA_SIM), 0);
    EXPECT_EQ(holder.family, CFelicaMod::VendorLibrary);
    EXPECT_EQ(holder.readerName, "Fenwir FeliCa simulator 1.0");

    for (const char* fault : {"open-fails", "not-alive"}) {
        qputenv("FENWIR_FELICA_SIM_FAULT", fault);
        CFelicaMod h;
        ReaderEnvironment environment{pcsc, FENWIR_FELICA_SIM};
        EXPECT_EQ(SelectReader(h, environment),
                  QByteArray(fault) == "open-fails" ? kReaderOpenFailed : kReaderNotConnected);
    }
    qunsetenv("FENWIR_FELICA_SIM_FAULT");
    qunsetenv("FENWIR_CARD_IMAGE");
}

TEST_F(SelectionTest, PrepareAndRestSwitchModes)
{
    pcsc.readers = {"Identiv uTrust 4701 F CL Reader 0"};
    ReaderEnvironment environment{pcsc, QString()};
    PrepareReader(environment);
    RestReader(environment);
    const QStringList controls = pcsc.Calls("control");
    ASSERT_EQ(controls.size(), 2);
    EXPECT_TRUE(controls[0].endsWith("95 FF 60 /256"));
    EXPECT_TRUE(controls[1].endsWith("95 FF FF /256"));
    EXPECT_EQ(pcsc.openContexts, 0);
    EXPECT_EQ(pcsc.openCards, 0);
}

TEST(ReadCard, SingleAttempt)
{
    FakePcsc pcsc;
    pcsc.readers = {"SCR331CL-NTTCom 00 00"};
    VirtualCard card(TestCard(7));
    ReaderEnvironment environment{pcsc, QString()};

    EntryLines lines;
    std::vector<CardHistoryRow> rows(2);
    CardInfo info;
    CardReadJob job(lines, rows, info);
    // No card yet: a single attempt reports message 180, not 150.
    EXPECT_EQ(ReadCard(job, 0, environment, nullptr), kReaderNotConnected);
    EXPECT_EQ(info.kind, CardInfo::kNoCard);
    EXPECT_EQ(rows.size(), 2u);

    pcsc.card = &card;
    EXPECT_EQ(ReadCard(job, 0, environment, nullptr), kReaderReady);
    EXPECT_EQ(info.kind, CardInfo::kRead);
    EXPECT_EQ(info.idm, card.Image().idm);
    EXPECT_EQ(FormatIdm(info.idm), "011402123A4B5C6D");
    EXPECT_EQ(rows.size(), 2u); // replaced by the import, not by the read
    EXPECT_EQ(job.Blocks().size(), 7u);
    EXPECT_EQ(pcsc.openContexts, 0);
    EXPECT_EQ(pcsc.openCards, 0);

    FakePcsc none;
    ReaderEnvironment empty{none, QString()};
    EXPECT_EQ(ReadCard(job, 0, empty, nullptr), kReaderNotConnected);
    EXPECT_EQ(job.Blocks().size(), 7u);
}

TEST(ReadCard, PollingLostInsideTheBlockReadIsAFailedRead)
{
    FakePcsc pcsc;
    pcsc.readers = {"SCR331CL-NTTCom 00 00"};
    VirtualCard card(TestCard(7));
    // The card answers the first polling, then no longer answers its system.
    int pollings = 0;
    pcsc.answer = [&](const QByteArray& command) {
        if (command.startsWith(QByteArray("\xFF\x40\x00\x00\x04\x00\x03", 7)) && ++pollings > 1)
            return QByteArray("\x6A\x81", 2);
        return card.Respond(command);
    };
    ReaderEnvironment environment{pcsc, QString()};
    EntryLines lines;
    std::vector<CardHistoryRow> rows(2);
    CardInfo info;
    CardReadJob job(lines, rows, info);
    EXPECT_EQ(ReadCard(job, 0, environment, nullptr), kReaderNotConnected);
    EXPECT_EQ(info.kind, CardInfo::kNoCard);
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_TRUE(job.Blocks().empty());
}
