#include "CardReadCommand.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CardReadFrontEnd.h"
#include "FakePcsc.h"
#include "MessageReporter.h"
#include "ReaderPlatform.h"
#include "ReaderSelection.h"
#include "TestCards.h"

#include <gtest/gtest.h>

namespace
{
class RecordingFrontEnd : public CardReadFrontEnd
{
public:
    void ShowCardStatus(const QString& idm, std::int32_t balance) override
    {
        shown << QStringLiteral("%1|%2").arg(idm).arg(balance);
        card = idm;
        this->balance = balance < 0 ? QString() : QString::number(balance);
    }
    std::pair<QString, QString> CardPaneTexts() const override { return {card, balance}; }
    void SetCardPaneTexts(const QString& c, const QString& b) override
    {
        card = c;
        balance = b;
    }
    CardWaitDialog* WaitDialog() override { return nullptr; }
    void CardWasRead() override { ++sounds; }

    QStringList shown;
    QString card = QStringLiteral("0000000000000001");
    QString balance = QStringLiteral("500");
    int sounds = 0;
};

class Messages : public MessageReporter
{
public:
    void Report(int id, const QString& text, Icon icon) override
    {
        if (id != 146) // no station database in these tests
            reported << QStringLiteral("%1 %2 %3").arg(id).arg(text).arg(static_cast<int>(icon));
    }
    void ReportWithDetails(int id, const QString& text, const QString& details, Icon icon) override
    {
        Report(id, text, icon);
        this->details << details;
    }
    QStringList reported;
    QStringList details;
};

class CardReadCommandTest : public ::testing::Test
{
protected:
    CardReadCommandTest() : doc(settings)
    {
        settings.PollingTime = 0;
        settings.dbPassword = AppSettings::kDbPassword;
        pcsc.readers = {"SCR331CL-NTTCom 00 00"};
    }

    CardReadCommand::Result Run(bool restAfter = false)
    {
        ReaderEnvironment environment{pcsc, "/nonexistent/libfelica.so"};
        CardReadCommand command(doc, settings, QString(), environment);
        command.SetRestReaderAfterRead(restAfter);
        command.SetOtherCardQuestion([this](const OtherCard&) {
            ++otherCardQuestions;
            return addOtherCard;
        });
        return command.Run(frontEnd, messages);
    }

    int otherCardQuestions = 0;
    bool addOtherCard = true;

    void Place(CardImage image)
    {
        card = std::make_unique<VirtualCard>(std::move(image));
        pcsc.card = card.get();
    }

    AppSettings settings;
    CCorvaneDoc doc;
    FakePcsc pcsc;
    std::unique_ptr<VirtualCard> card;
    RecordingFrontEnd frontEnd;
    Messages messages;
};

const QString kStop = QString::number(static_cast<int>(MessageReporter::Icon::Stop));
} // namespace

TEST_F(CardReadCommandTest, ReadImportsAndShowsTheCard)
{
    Place(TestCard(3));
    const auto result = Run();
    EXPECT_TRUE(result.imported);
    EXPECT_EQ(result.added.size(), 3u);
    EXPECT_EQ(doc.Data().lines.size(), 3u);
    EXPECT_EQ(doc.Data().historyRows.size(), 3u);
    EXPECT_EQ(doc.Data().card.kind, CardInfo::kRead);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(frontEnd.sounds, 1);
    EXPECT_EQ(frontEnd.shown, QStringList({"カード読込中…|-1", "011402123A4B5C6D|1000"}));
    EXPECT_TRUE(messages.reported.isEmpty());

    // The read is one step that undo takes back.
    EXPECT_EQ(doc.UndoStack().count(), 1);
    EXPECT_EQ(doc.UndoStack().undoText(), "カード読込");
    doc.UndoStack().undo();
    EXPECT_TRUE(doc.Lines().empty());
    EXPECT_FALSE(doc.IsModified());
    doc.UndoStack().redo();

    // The same card again: nothing new, the modified mark as it was.
    doc.UndoStack().setClean();
    const auto again = Run();
    EXPECT_TRUE(again.imported);
    EXPECT_TRUE(again.added.empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(frontEnd.shown.last(), "011402123A4B5C6D|1000");
}

TEST_F(CardReadCommandTest, FailuresSayWhyAndPutThePanesBack)
{
    struct Case {
        const char* name;
        std::function<void(FakePcsc&)> setUp;
        QString message;
    };
    const Case cases[] = {
        {"no card", [](FakePcsc&) {}, "180 カードリーダーが接続されていません。 " + kStop},
        {"no reader", [](FakePcsc& p) { p.readers.clear(); },
         "180 カードリーダーが接続されていません。 " + kStop},
        {"unknown reader", [](FakePcsc& p) { p.readers = {"Other Reader 00 00"}; },
         "150 カードリーダーのオープンに失敗しました。 " + kStop},
        {"service stopped", [](FakePcsc& p) { p.establishResult = SCARD_E_NO_SERVICE; },
         "147 SmartCardサービスが停止しています。" + ServiceStoppedAdvice() + " " + kStop},
    };
    // What to do is said in an office worker's words; the commands wait
    // behind 詳細 for whoever looks after the machine.
    EXPECT_FALSE(ServiceStoppedAdvice().contains("sudo"));
    EXPECT_FALSE(ServiceStoppedAdvice().contains("systemctl"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePcsc fresh;
        fresh.readers = pcsc.readers;
        pcsc = fresh;
        c.setUp(pcsc);
        messages.reported.clear();
        frontEnd.shown.clear();
        const auto result = Run();
        EXPECT_FALSE(result.imported);
        EXPECT_EQ(messages.reported, QStringList{c.message});
        if (pcsc.establishResult == SCARD_E_NO_SERVICE) {
            EXPECT_EQ(messages.details.takeLast(), ReaderPlatform::ServiceStoppedDetails());
        }
        EXPECT_EQ(frontEnd.shown, QStringList({"カード読込中…|-1", "|-1"}));
        EXPECT_EQ(frontEnd.card, "0000000000000001");
        EXPECT_EQ(frontEnd.balance, "500");
        EXPECT_TRUE(doc.Data().lines.empty());
        EXPECT_FALSE(doc.IsModified());
    }
}

TEST_F(CardReadCommandTest, UndecodableRecordLeavesTheDocumentAsItWas)
{
    Place(TestCard(2));
    ASSERT_TRUE(Run().imported);
    const auto rows = doc.Data().historyRows;
    const CardInfo before = doc.Data().card;
    doc.UndoStack().setClean();

    CardImage image = TestCard(4);
    image.idm[7] = 0x77;
    image.history[1][5] = 0x60; // day 0
    Place(image);
    messages.reported.clear();
    const auto result = Run();
    EXPECT_FALSE(result.imported);
    ASSERT_EQ(messages.reported.size(), 1);
    EXPECT_TRUE(messages.reported[0].startsWith("0 カードの履歴を読み取れませんでした。"));
    EXPECT_EQ(doc.Data().lines.size(), 2u);
    EXPECT_EQ(doc.Data().historyRows, rows);
    EXPECT_EQ(doc.Data().card.idm, before.idm);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(frontEnd.card, "011402123A4B5C6D");
}

TEST_F(CardReadCommandTest, CommandLineReadLeavesTheReaderResting)
{
    Place(TestCard(1));
    Run(true);
    const QStringList controls = pcsc.Calls("control");
    ASSERT_EQ(controls.size(), 2);
    EXPECT_TRUE(controls[0].endsWith("95 18 /256")); // reading mode for the read
    EXPECT_TRUE(controls[1].endsWith("95 1B /256")); // resting mode afterwards
}

// Another card's history is added only when the user says so; declining
// leaves the claim and the panes as they were, without a message.
TEST_F(CardReadCommandTest, AnotherCardIsAddedOnlyOnRequest)
{
    Place(TestCard(2));
    ASSERT_TRUE(Run().imported);
    EXPECT_EQ(otherCardQuestions, 0); // the first card of a claim is not asked about
    CardImage other = TestCard(3);
    other.idm[7] = 0x77;
    for (HistoryBlock& block : other.history)
        block[10] = 0x10; // records of its own: another balance
    Place(other);
    addOtherCard = false;
    const auto declined = Run();
    EXPECT_FALSE(declined.imported);
    EXPECT_TRUE(declined.declined);
    EXPECT_EQ(otherCardQuestions, 1);
    EXPECT_EQ(doc.Lines().size(), 2u);
    EXPECT_TRUE(messages.reported.isEmpty());
    EXPECT_EQ(frontEnd.card, "011402123A4B5C6D");
    addOtherCard = true;
    EXPECT_TRUE(Run().imported);
    EXPECT_EQ(doc.Lines().size(), 5u);
}
