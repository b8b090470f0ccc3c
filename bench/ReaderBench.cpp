// A full card read (polling and 20 blocks) through the real pcscd and the
// virtual reader: once through CPcscMod, once as the same exchanges made by a
// bare client. Goal: the module adds under 5 % to the bare exchanges.
#include "CPcscMod.h"
#include "PcscStack.h"
#include "SystemPcsc.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{
struct Service {
    QTemporaryDir dir;
    PcscStack stack;
    bool ready = false;

    Service()
    {
        QString text = QStringLiteral("UID: 01 14 02 12 3A 4B 5C 6D\nSystem 00: 0003\n");
        for (int n = 0; n < 20; ++n)
            text += QStringLiteral("Block %1: | Service code 090F | Block index %2 | Data: 16 01 "
                                   "00 00 35 62 01 10 01 20 E8 03 00 00 01 00 |\n")
                        .arg(n + 1, 4, 10, QChar('0'))
                        .arg(n, 2, 10, QChar('0'));
        QFile file(dir.filePath("card.txt"));
        ready = file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0;
        file.close();
        ready = ready && !PcscStack::ServiceAlreadyRunning() &&
                stack.StartService("SCR331CL-NTTCom") && stack.PlaceCard(file.fileName());
    }
};

Service& TheService()
{
    static Service service;
    return service;
}

void BM_ModuleFullRead(benchmark::State& state)
{
    Service& service = TheService();
    if (!service.ready) {
        state.SkipWithError("pcscd or the card emulator could not be started");
        return;
    }
    SystemPcsc pcsc;
    for (auto _ : state) {
        CPcscMod module(pcsc, service.stack.ReaderName());
        CardId idm{}, pmm{};
        HistoryBlocks blocks;
        if (!module.Polling(idm, pmm, 0x0003, 0, 0) ||
            !module.ReadBlocks(idm, 0x090F, 0x0003, blocks, 20) || blocks.size() != 20)
            state.SkipWithError("read failed");
    }
}

LONG Send(SCARDHANDLE card, const QByteArray& command, DWORD receive)
{
    BYTE response[256];
    return SCardTransmit(card, SCARD_PCI_T1, reinterpret_cast<const BYTE*>(command.constData()),
                         static_cast<DWORD>(command.size()), nullptr, response, &receive);
}

void BM_BareFullRead(benchmark::State& state)
{
    Service& service = TheService();
    if (!service.ready) {
        state.SkipWithError("pcscd or the card emulator could not be started");
        return;
    }
    const QByteArray name = service.stack.ReaderName().toUtf8();
    const QByteArray poll = QByteArray::fromHex("FF40000004000301 00");
    const QByteArray ids = QByteArray::fromHex("FF40000004FFFF0000");
    for (auto _ : state) {
        SCARDCONTEXT context = 0;
        SCARDHANDLE card = 0;
        DWORD protocol = 0;
        SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context);
        SCardConnect(context, name.constData(), SCARD_SHARE_SHARED,
                     SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &card, &protocol);
        for (const QByteArray& command : {poll, ids}) {
            SCardBeginTransaction(card);
            Send(card, command, command == ids ? 30 : 256);
            SCardEndTransaction(card, SCARD_LEAVE_CARD);
        }
        SCardBeginTransaction(card);
        Send(card, poll, 256);
        for (int n = 0; n <= 20 - 1; ++n) {
            QByteArray read = QByteArray::fromHex("FF46010104 0F09 80");
            read.append(static_cast<char>(n));
            Send(card, read, 256);
        }
        SCardEndTransaction(card, SCARD_LEAVE_CARD);
        SCardDisconnect(card, SCARD_LEAVE_CARD);
        SCardReleaseContext(context);
    }
}

BENCHMARK(BM_BareFullRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ModuleFullRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
} // namespace
