// fenwir-card-emulator --image FILE [--port N] [--remove-at N]
//                      [--wrong-status-at N] [--truncate-at N] [--part3 on|off]
// Connects to vpcd on 127.0.0.1 (default port 35963) and plays the card until
// vpcd closes the connection or the card is "removed".
#include "VirtualCard.h"
#include "VpcdConnection.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace
{
int Usage()
{
    std::fputs("usage: fenwir-card-emulator --image FILE [--port N] [--remove-at N] "
               "[--wrong-status-at N] [--truncate-at N] [--part3 on|off]\n",
               stderr);
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString imagePath;
    std::uint16_t port = 0x8C7B;
    VirtualCard::Faults faults;
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        const QString& key = args[i];
        const QString& value = args[i + 1];
        if (key == QLatin1String("--image"))
            imagePath = value;
        else if (key == QLatin1String("--port"))
            port = static_cast<std::uint16_t>(value.toUInt());
        else if (key == QLatin1String("--remove-at"))
            faults.removeAtBlock = value.toInt();
        else if (key == QLatin1String("--wrong-status-at"))
            faults.wrongStatusAtBlock = value.toInt();
        else if (key == QLatin1String("--truncate-at"))
            faults.truncateAtBlock = value.toInt();
        else if (key == QLatin1String("--part3"))
            faults.part3 = value != QLatin1String("off");
        else
            return Usage();
    }
    if (imagePath.isEmpty() || args.size() % 2 != 0)
        return Usage();
    QString error;
    auto image = CardImage::Load(imagePath, &error);
    if (!image) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    VirtualCard card(std::move(*image), faults);
    VpcdConnection vpcd;
    if (!vpcd.Connect(port, 200)) {
        std::fprintf(stderr, "vpcd does not answer on port %u\n", port);
        return 1;
    }
    while (auto message = vpcd.Receive()) {
        if (message->size() == 1) {
            if (message->at(0) == 4 && !vpcd.Send(VirtualCard::Atr()))
                break;
            continue; // power off, power on, reset: no answer
        }
        const QByteArray reply = card.Respond(*message);
        if (card.Removed())
            break;
        if (!vpcd.Send(reply))
            break;
    }
    return 0;
}
