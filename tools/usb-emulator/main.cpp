// fenwir-usb-emulator --device rcs380|rcs380p|rcs956 --image FILE --socket PATH
//                     [--fault KIND@BLOCK] [--remove-at N] [--card-after-polls N]
// Plays a Sony USB reader with the card image on it behind the USB reader
// modules' test seam (FENWIR_USB_SOCKET=PATH), until it is terminated. With
// --card-after-polls the card is laid on the reader only once it has been
// polled for that many times. Faults: bad-checksum, short, oversized, nak,
// error-frame, chip-error, no-answer, vanish, each at the read of one block.
#include "Port100Emulator.h"
#include "Rcs956Emulator.h"
#include "UsbSocketServer.h"
#include "VirtualCard.h"

#include <QCoreApplication>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <memory>

namespace
{
UsbSocketServer* g_server = nullptr;

void StopOnSignal(int)
{
    if (g_server)
        g_server->Stop();
}

int Usage()
{
    std::fputs("usage: fenwir-usb-emulator --device rcs380|rcs380p|rcs956 --image FILE "
               "--socket PATH [--fault KIND@BLOCK] [--remove-at N] [--card-after-polls N]\n",
               stderr);
    return 2;
}

struct Options {
    QString device;
    QString image;
    QString socket;
    UsbDeviceEmulator::FaultAt fault;
    int removeAt = -1;
    int cardAfterPolls = 0;
};

bool Parse(const QStringList& args, Options& options)
{
    if (args.size() % 2 != 0)
        return false;
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        const QString& key = args[i];
        const QString& value = args[i + 1];
        if (key == QLatin1String("--device")) {
            options.device = value;
        } else if (key == QLatin1String("--image")) {
            options.image = value;
        } else if (key == QLatin1String("--socket")) {
            options.socket = value;
        } else if (key == QLatin1String("--remove-at")) {
            options.removeAt = value.toInt();
        } else if (key == QLatin1String("--card-after-polls")) {
            options.cardAfterPolls = value.toInt();
        } else if (key == QLatin1String("--fault")) {
            const auto fault = UsbDeviceEmulator::ParseFault(value.section('@', 0, 0));
            if (!fault)
                return false;
            options.fault = {*fault, value.section('@', 1).toInt()};
        } else {
            return false;
        }
    }
    return !options.image.isEmpty() && !options.socket.isEmpty();
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (!Parse(app.arguments().mid(1), options))
        return Usage();
    QString error;
    auto image = CardImage::Load(options.image, &error);
    if (!image) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    VirtualCard::Faults faults;
    faults.removeAtBlock = options.removeAt;
    VirtualCard card(std::move(*image), faults);
    std::unique_ptr<UsbDeviceEmulator> device;
    if (options.device == QLatin1String("rcs380"))
        device = std::make_unique<Port100Emulator>(card, 0x06C1);
    else if (options.device == QLatin1String("rcs380p"))
        device = std::make_unique<Port100Emulator>(card, 0x06C3);
    else if (options.device == QLatin1String("rcs956"))
        device = std::make_unique<Rcs956Emulator>(card);
    else
        return Usage();
    device->SetFault(options.fault);
    device->SetCardAfterPollings(options.cardAfterPolls);
    UsbSocketServer server(*device, options.socket);
    if (!server.Listen()) {
        std::fprintf(stderr, "cannot listen on %s\n", options.socket.toLocal8Bit().constData());
        return 1;
    }
    g_server = &server;
    std::signal(SIGTERM, StopOnSignal);
    std::signal(SIGINT, StopOnSignal);
    std::fprintf(stderr, "listening on %s\n", options.socket.toLocal8Bit().constData());
    server.Serve();
    return 0;
}
