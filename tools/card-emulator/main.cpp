// fenwir-card-emulator --image FILE [--port N] [--personality NAME] [--atr HEX]
//                      [--remove-at N] [--wrong-status-at N] [--truncate-at N]
//                      [--part3 on|off] [--arrival-log FILE]
// Connects to vpcd on 127.0.0.1 (default port 35963) and plays the card, as
// the reader family NAME presents it, until vpcd closes the connection or the
// card is "removed". With --arrival-log it appends the steady-clock time (ns)
// at which the reader first saw the card (its first ATR request) to FILE.
#include "ReaderPersonality.h"
#include "VirtualCard.h"
#include "VpcdConnection.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <chrono>
#include <cstdio>

namespace
{
int Usage()
{
    std::fprintf(stderr,
                 "usage: fenwir-card-emulator --image FILE [--port N] [--personality %s] "
                 "[--atr HEX] [--remove-at N] [--wrong-status-at N] [--truncate-at N] "
                 "[--part3 on|off] [--arrival-log FILE]\n",
                 ReaderPersonality::Names().join('|').toLocal8Bit().constData());
    return 2;
}

struct Options {
    QString imagePath;
    std::uint16_t port = 0x8C7B;
    QString personality = QStringLiteral("standard");
    QByteArray atr;
    QString arrivalLog;
    VirtualCard::Faults faults;
};

bool Parse(const QStringList& args, Options& options)
{
    if (args.size() % 2 != 0)
        return false;
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        const QString& key = args[i];
        const QString& value = args[i + 1];
        if (key == QLatin1String("--image"))
            options.imagePath = value;
        else if (key == QLatin1String("--port"))
            options.port = static_cast<std::uint16_t>(value.toUInt());
        else if (key == QLatin1String("--personality"))
            options.personality = value;
        else if (key == QLatin1String("--atr"))
            options.atr = QByteArray::fromHex(value.toLatin1());
        else if (key == QLatin1String("--arrival-log"))
            options.arrivalLog = value;
        else if (key == QLatin1String("--remove-at"))
            options.faults.removeAtBlock = value.toInt();
        else if (key == QLatin1String("--wrong-status-at"))
            options.faults.wrongStatusAtBlock = value.toInt();
        else if (key == QLatin1String("--truncate-at"))
            options.faults.truncateAtBlock = value.toInt();
        else if (key == QLatin1String("--part3"))
            options.faults.part3 = value != QLatin1String("off");
        else
            return false;
    }
    return !options.imagePath.isEmpty();
}

void LogArrival(const QString& path)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    QFile file(path);
    if (file.open(QIODevice::Append))
        file.write(QByteArray::number(static_cast<qint64>(
                       std::chrono::duration_cast<std::chrono::nanoseconds>(now).count())) +
                   '\n');
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (!Parse(app.arguments().mid(1), options))
        return Usage();
    QString error;
    auto image = CardImage::Load(options.imagePath, &error);
    if (!image) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    VirtualCard card(std::move(*image), options.faults);
    const auto reader = ReaderPersonality::Create(options.personality, card);
    if (!reader)
        return Usage();
    const QByteArray atr = options.atr.isEmpty() ? reader->Atr() : options.atr;
    VpcdConnection vpcd;
    if (!vpcd.Connect(options.port, 200)) {
        std::fprintf(stderr, "vpcd does not answer on port %u\n", options.port);
        return 1;
    }
    bool seen = false;
    while (auto message = vpcd.Receive()) {
        if (message->size() == 1) {
            if (message->at(0) == 4) {
                if (!vpcd.Send(atr))
                    break;
                if (!seen && !options.arrivalLog.isEmpty())
                    LogArrival(options.arrivalLog);
                seen = true;
            }
            continue; // power off, power on, reset: no answer
        }
        const QByteArray reply = reader->Respond(*message);
        if (card.Removed())
            break;
        if (!vpcd.Send(reply))
            break;
    }
    return 0;
}
