#include "InstanceChannel.h"

#include "SendWhileListening.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <future>
#include <gtest/gtest.h>

// A later start's file reaches the running copy whole, with its absolute
// path, whatever characters its name holds.
TEST(InstanceChannel, ALaterStartHandsOverItsFile)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("channel");
    InstanceChannel channel;
    ASSERT_TRUE(channel.Listen(name));
    QStringList received;
    QObject::connect(&channel, &InstanceChannel::Received,
                     [&](const QString& file) { received << file; });

    const QString odd = dir.filePath("11月\n𠮷野家 100%.ent");
    EXPECT_TRUE(SendWhileListening(odd, name));
    EXPECT_TRUE(SendWhileListening(QString(), name)); // only to the front
    const QString relative = QStringLiteral("claim.ent");
    EXPECT_TRUE(SendWhileListening(relative, name));
    EXPECT_EQ(received, (QStringList{odd, QString(), QDir::current().absoluteFilePath(relative)}));
}

// The running window may ask about unsaved changes before it opens a file:
// a modal question, whose event loop runs while the later start takes its
// answer and hangs up. The channel stays whole and takes the next file too.
TEST(InstanceChannel, AReceiverMayAskTheUserFirst)
{
    using namespace std::chrono_literals;
    QTemporaryDir dir;
    const QString name = dir.filePath("channel");
    InstanceChannel channel;
    ASSERT_TRUE(channel.Listen(name));
    std::future<bool> sent;
    QStringList received;
    QObject::connect(&channel, &InstanceChannel::Received, [&](const QString& file) {
        received << file;
        if (received.size() > 1)
            return;
        // The question is answered once the later start has its answer and
        // the events of its hang-up have been handled.
        QEventLoop question;
        QTimer user;
        int turnsAfterHangUp = 0;
        QObject::connect(&user, &QTimer::timeout, [&] {
            if (sent.wait_for(0ms) == std::future_status::ready && ++turnsAfterHangUp > 20)
                question.quit();
        });
        user.start(1);
        question.exec();
    });
    const QString first = dir.filePath("a.ent");
    sent = std::async(std::launch::async, [&] { return InstanceChannel::Send(first, name); });
    while (received.isEmpty() || sent.wait_for(1ms) != std::future_status::ready)
        QCoreApplication::processEvents();
    EXPECT_TRUE(sent.get());
    const QString second = dir.filePath("b.ent");
    EXPECT_TRUE(SendWhileListening(second, name));
    EXPECT_EQ(received, (QStringList{first, second}));
}
