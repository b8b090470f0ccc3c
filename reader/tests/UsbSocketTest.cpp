// The USB reader modules' test seam: a Unix socket standing for the one
// attached device, its announcement and its messages, and reads through it
// from the device emulators' server.
#include "CUsbMod.h"
#include "Port100Emulator.h"
#include "Rcs956Emulator.h"
#include "SocketUsbBus.h"
#include "SocketUsbTransport.h"
#include "TestCards.h"
#include "UsbReaders.h"
#include "UsbSocketServer.h"
#include "VirtualCard.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace
{
// An emulated reader served on a socket by a thread of its own.
struct Served {
    explicit Served(bool port100, int records = 20)
        : card(TestCard(records)),
          device(port100 ? std::unique_ptr<UsbDeviceEmulator>(new Port100Emulator(card))
                         : std::unique_ptr<UsbDeviceEmulator>(new Rcs956Emulator(card))),
          server(*device, dir.filePath("usb.sock"))
    {
        listening = server.Listen();
        if (listening)
            thread = std::thread([this] { server.Serve(); });
    }
    ~Served()
    {
        server.Stop();
        if (thread.joinable())
            thread.join();
    }
    QString Path() const { return dir.filePath("usb.sock"); }

    QTemporaryDir dir;
    VirtualCard card;
    std::unique_ptr<UsbDeviceEmulator> device;
    UsbSocketServer server;
    bool listening = false;
    std::thread thread;
};

// A peer that sends fixed bytes on its one connection, then waits for the
// module to close it.
struct RawPeer {
    explicit RawPeer(QByteArray bytes, bool hangUp = false)
        : m_bytes(std::move(bytes)), m_hangUp(hangUp)
    {
        const QByteArray path = Path().toLocal8Bit();
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::copy(path.begin(), path.end(), address.sun_path);
        m_listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        listening =
            ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::listen(m_listener, 1) == 0;
        if (listening)
            m_thread = std::thread([this] { Serve(); });
    }
    ~RawPeer()
    {
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_listener);
    }
    QString Path() const { return m_dir.filePath("raw.sock"); }

    bool listening = false;

private:
    void Serve()
    {
        const int connection = ::accept(m_listener, nullptr, nullptr);
        if (connection < 0)
            return;
        [[maybe_unused]] const ssize_t sent =
            ::send(connection, m_bytes.constData(), static_cast<std::size_t>(m_bytes.size()), 0);
        char sink[64];
        while (!m_hangUp && ::recv(connection, sink, sizeof sink, 0) > 0) {
        }
        ::close(connection);
    }

    QTemporaryDir m_dir;
    QByteArray m_bytes;
    bool m_hangUp;
    int m_listener = -1;
    std::thread m_thread;
};

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}
} // namespace

TEST(UsbSocket, TheSeamAnnouncesItsDevice)
{
    Served rcs380(true);
    ASSERT_TRUE(rcs380.listening);
    SocketUsbBus bus(rcs380.Path());
    const auto devices = bus.Devices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].vendor, 0x054C);
    EXPECT_EQ(devices[0].product, 0x06C1);
    EXPECT_EQ(devices[0].access, UsbDeviceInfo::Access::Usable);

    // Four bare bytes are taken as the announcement too.
    RawPeer bare(Hex("4C05E102"));
    ASSERT_TRUE(bare.listening);
    const auto rcs956 = SocketUsbBus(bare.Path()).Devices();
    ASSERT_EQ(rcs956.size(), 1u);
    EXPECT_EQ(rcs956[0].product, 0x02E1);

    // Nothing listening, or a device the program does not drive: no reader.
    EXPECT_TRUE(SocketUsbBus(rcs380.dir.filePath("none.sock")).Devices().empty());
    RawPeer other(Hex("04000000"
                      "3412CDAB"));
    ASSERT_TRUE(other.listening);
    EXPECT_TRUE(SocketUsbBus(other.Path()).Devices().empty());
}

TEST(UsbSocket, EachChipReadsThroughTheSeam)
{
    for (const bool port100 : {true, false}) {
        SCOPED_TRACE(port100 ? "Port-100" : "RC-S956");
        Served served(port100, 20);
        ASSERT_TRUE(served.listening);
        SocketUsbBus bus(served.Path());
        const auto devices = bus.Devices();
        ASSERT_EQ(devices.size(), 1u);
        auto module = UsbReaders::CreateModule(bus, devices[0]);
        ASSERT_EQ(module->Open(), 1);
        CardId idm{};
        CardId pmm{};
        ASSERT_EQ(module->Polling(idm, pmm, 0x0003, 0, 0), 1);
        HistoryBlocks blocks;
        ASSERT_EQ(module->ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 1);
        EXPECT_EQ(blocks, served.card.Image().history);
        module->Close();
        EXPECT_EQ(served.server.Connections(), 2); // the listing, then the read
    }
}

TEST(UsbSocket, ADeviceThatVanishesMidReadLeavesNothing)
{
    Served served(false);
    served.device->SetFault({UsbDeviceEmulator::Fault::Vanish, 5});
    SocketUsbBus bus(served.Path());
    auto module = UsbReaders::CreateModule(bus, bus.Devices().at(0));
    ASSERT_EQ(module->Open(), 1);
    CardId idm{};
    CardId pmm{};
    ASSERT_EQ(module->Polling(idm, pmm, 0x0003, 0, 0), 1);
    HistoryBlocks blocks;
    EXPECT_EQ(module->ReadBlocks(idm, 0x090F, 0x0003, blocks, 20), 0);
    EXPECT_TRUE(blocks.empty());
    EXPECT_EQ(module->Polling(idm, pmm, 0x0003, 0, 0), 0);
}

TEST(UsbSocket, MessagesAreCheckedAsUsbTransfersWouldBe)
{
    const QByteArray announce = Hex("04000000"
                                    "4C05C106");
    struct Case {
        const char* name;
        QByteArray then;
        UsbTransport::Status status;
        QByteArray frame;
        bool hangUp = false;
    };
    const Case cases[] = {
        {"a whole message",
         Hex("03000000"
             "AABBCC"),
         UsbTransport::Status::Ok, Hex("AABBCC")},
        {"more than the read takes",
         Hex("05000000"
             "0102030405"),
         UsbTransport::Status::Failed,
         {}},
        {"a length past any frame",
         Hex("FFFFFF7F"
             "00"),
         UsbTransport::Status::Failed,
         {}},
        {"cut off as the device goes",
         Hex("03000000"
             "AA"),
         UsbTransport::Status::Failed,
         {},
         true},
        {"the device gone", QByteArray(), UsbTransport::Status::Failed, {}, true},
        {"nothing in time", QByteArray(), UsbTransport::Status::Timeout, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawPeer peer(announce + c.then, c.hangUp);
        ASSERT_TRUE(peer.listening);
        SocketUsbBus bus(peer.Path());
        UsbDeviceInfo device;
        device.vendor = 0x054C;
        device.product = 0x06C1;
        QString why;
        auto transport = bus.Open(device, &why);
        ASSERT_NE(transport, nullptr) << why.toStdString();
        QByteArray frame;
        EXPECT_EQ(transport->Read(frame, 4, 50), c.status);
        EXPECT_EQ(frame, c.frame);
    }
}
