// fenwir-cli reading through the real reader stacks of Linux: a pcscd of the
// test's own with the virtual reader and the card emulator, and the Sony USB
// readers' emulator behind the USB seam's socket.
#include "CliFixture.h"
#include "PcscStack.h"
#include "UsbStack.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

TEST_F(CliTest, ReadsThroughTheRealReader)
{
    const QString card = File("card.txt", Dump(4).toUtf8());
    ASSERT_FALSE(PcscStack::ServiceAlreadyRunning());
    PcscStack stack;
    ASSERT_TRUE(stack.StartService("SCR331CL-NTTCom"));
    ASSERT_TRUE(stack.PlaceCard(card));
    CliRun real = Cli({"read", "--reader", "auto", "--polling-time", "0", "--json", "--station-db",
                       Db(), dir.filePath("real.ent")});
    ASSERT_EQ(real.status, 0) << real.err.toStdString();
    const QJsonObject object = QJsonDocument::fromJson(real.out.toUtf8()).object();
    EXPECT_EQ(object["idm"].toString(), "011402123A4B5C6D");
    EXPECT_EQ(object["lines"].toArray().size(), 4);
}

TEST_F(CliTest, CardLaidOnTheReaderDuringTheWaitIsRead)
{
    ASSERT_FALSE(PcscStack::ServiceAlreadyRunning());
    PcscStack stack;
    ASSERT_TRUE(stack.StartService("ACS ACR1252 1S CL Reader PICC"));
    // An empty recognised reader: one attempt finds no card (message 180).
    const CliRun none = Cli({"read", "--polling-time", "0", dir.filePath("none.ent")});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains("カードリーダーが接続されていません。"))
        << none.err.toStdString();

    // The everyday flow: start the read, then lay the card down.
    const QString card = File("card.txt", Dump(4).toUtf8());
    QProcess read;
    read.setReadChannel(QProcess::StandardError);
    read.start(QStringLiteral(FENWIR_CLI), {"read", "--polling-time", "30", "--json",
                                            "--station-db", Db(), dir.filePath("waited.ent")});
    QString said;
    while (!said.contains("カード検出中…") && read.waitForReadyRead(30000))
        said += QString::fromUtf8(read.readAllStandardError());
    ASSERT_TRUE(said.contains("カード検出中…")) << said.toStdString();
    ASSERT_TRUE(stack.PlaceCard(card));
    ASSERT_TRUE(read.waitForFinished(60000));
    EXPECT_EQ(read.exitCode(), 0) << read.readAllStandardError().toStdString();
    const QJsonObject object = QJsonDocument::fromJson(read.readAllStandardOutput()).object();
    EXPECT_EQ(object["lines"].toArray().size(), 4);
}

TEST_F(CliTest, ReaderFailuresAreReported)
{
    ASSERT_FALSE(PcscStack::ServiceAlreadyRunning());
    CliRun run = Cli({"read", "--polling-time", "0", dir.filePath("x.ent")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("SmartCardサービスが停止しています。")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("x.ent")));
}

TEST_F(CliTest, ReadersShowsEveryReaderAndTheOneAReadTakes)
{
    ASSERT_FALSE(PcscStack::ServiceAlreadyRunning());
    const QString card = File("card.txt", Dump(4).toUtf8());
    UsbStack usb;
    ASSERT_TRUE(usb.Start("rcs380", card));
    {
        // No PC/SC service: the USB reader is the one.
        const CliRun run = Cli({"readers"}, usb.Socket());
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains("pcscd が動いていません")) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains("Sony RC-S380/S"));
        EXPECT_TRUE(run.out.contains("(054c:06c1)"));
        EXPECT_TRUE(run.out.contains("読み取りに使うリーダー: Sony RC-S380/S"));
    }
    PcscStack stack;
    ASSERT_TRUE(stack.StartService("ACS ACR122U PICC Interface"));
    ASSERT_TRUE(stack.PlaceCard(card, {"--personality", "acr122"}));
    const CliRun run = Cli({"readers"}, usb.Socket());
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(
        run.out.contains("ACS ACR122U PICC Interface 00 00\n    カードあり (ATR 3B 8F 80 01"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("読み方: ACR122U 方式"));
    EXPECT_TRUE(run.out.contains("ACS ACR122U PICC Interface 00 01\n    カードなし"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("Sony RC-S380/S"));
    EXPECT_TRUE(run.out.contains("読み取りに使うリーダー: ACS ACR122U PICC Interface 00 00"));
}

TEST_F(CliTest, ReadsThroughAUsbReaderWithTheCardLaidDuringTheWait)
{
    ASSERT_FALSE(PcscStack::ServiceAlreadyRunning());
    const QString card = File("card.txt", Dump(4).toUtf8());
    for (const char* device : {"rcs380", "rcs956"}) {
        SCOPED_TRACE(device);
        UsbStack usb;
        ASSERT_TRUE(usb.Start(device, card, {"--card-after-polls", "12"}));
        const QString claim = dir.filePath(QStringLiteral("usb-%1.ent").arg(device));
        const CliRun run = Cli(
            {"read", "--polling-time", "20", "--json", "--station-db", Db(), claim}, usb.Socket());
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QJsonObject object = QJsonDocument::fromJson(run.out.toUtf8()).object();
        EXPECT_EQ(object["idm"].toString(), "011402123A4B5C6D");
        EXPECT_EQ(object["lines"].toArray().size(), 4);
        EXPECT_TRUE(run.err.contains("カードをリーダーにかざしてください"));
    }
}

TEST_F(CliTest, ABrokenUsbAnswerFailsTheReadAndWritesNothing)
{
    ASSERT_FALSE(PcscStack::ServiceAlreadyRunning());
    const QString card = File("card.txt", Dump(8).toUtf8());
    for (const char* fault : {"bad-checksum@3", "nak@3", "error-frame@3", "short@3", "vanish@3"}) {
        SCOPED_TRACE(fault);
        UsbStack usb;
        ASSERT_TRUE(usb.Start("rcs956", card, {"--fault", fault}));
        const QString claim = dir.filePath("broken.ent");
        const CliRun run = Cli({"read", "--polling-time", "0", claim}, usb.Socket());
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains("カードリーダーが接続されていません。"))
            << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(claim));
    }
}
