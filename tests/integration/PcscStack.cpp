#include "PcscStack.h"

#include <PCSC/winscard.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <csignal>

namespace
{
const char* kPcscd = "/usr/sbin/pcscd";
const char* kVpcdDriver = "/usr/lib/pcsc/drivers/serial/libifdvpcd.so";

// A port whose neighbour is free too: vpcd opens one per slot.
quint16 FreePortPair()
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        QTcpServer first;
        if (!first.listen(QHostAddress::Any, 0))
            continue;
        QTcpServer second;
        if (second.listen(QHostAddress::Any, static_cast<quint16>(first.serverPort() + 1)))
            return first.serverPort();
    }
    return 0;
}

void Stop(std::unique_ptr<QProcess>& process)
{
    if (!process)
        return;
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    process.reset();
}
} // namespace

PcscStack::PcscStack() = default;

PcscStack::~PcscStack()
{
    Stop(m_emulator);
    Stop(m_pcscd);
}

bool PcscStack::ServiceAlreadyRunning()
{
    QFile pidFile(QStringLiteral("/run/pcscd/pcscd.pid"));
    if (!pidFile.open(QIODevice::ReadOnly))
        return false;
    const int pid = pidFile.readAll().trimmed().toInt();
    return pid > 0 && ::kill(pid, 0) == 0;
}

QString PcscStack::Log() const
{
    return m_pcscd ? QString::fromUtf8(m_pcscd->readAllStandardOutput()) : QString();
}

bool PcscStack::StartService(const QString& readerName)
{
    m_readerName = readerName;
    const QString config = m_dir.filePath(QStringLiteral("reader.conf.d"));
    QDir().mkpath(config);
    if (!readerName.isEmpty()) {
        m_port = FreePortPair();
        QFile conf(config + QStringLiteral("/vpcd"));
        if (m_port == 0 || !conf.open(QIODevice::WriteOnly))
            return false;
        conf.write(QStringLiteral("FRIENDLYNAME \"%1\"\nDEVICENAME /dev/null:%2\nLIBPATH %3\n"
                                  "CHANNELID %2\n")
                       .arg(readerName)
                       .arg(m_port)
                       .arg(QLatin1String(kVpcdDriver))
                       .toUtf8());
    }
    m_pcscd = std::make_unique<QProcess>();
    m_pcscd->setProcessChannelMode(QProcess::MergedChannels);
    m_pcscd->start(QLatin1String(kPcscd), {QStringLiteral("--foreground"), QStringLiteral("--info"),
                                           QStringLiteral("--config"), config});
    if (!m_pcscd->waitForStarted(10000))
        return false;
    // Ready when the daemon says so on its log and a client can reach it: the
    // log line may come a moment before the socket answers.
    QByteArray log;
    while (!log.contains("daemon ready")) {
        if (!m_pcscd->waitForReadyRead(10000))
            return false;
        log += m_pcscd->readAll();
    }
    for (int attempt = 0; attempt < 200; ++attempt) {
        SCARDCONTEXT context = 0;
        if (SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context) ==
            SCARD_S_SUCCESS) {
            SCardReleaseContext(context);
            return true;
        }
        if (m_pcscd->state() != QProcess::Running)
            return false;
        m_pcscd->waitForReadyRead(25); // wakes on the daemon's next log line
    }
    return false;
}

bool PcscStack::PlaceCard(const QString& imagePath, const QStringList& options, bool waitUntilSeen)
{
    m_emulator = std::make_unique<QProcess>();
    m_emulator->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_emulator->start(QStringLiteral(FENWIR_CARD_EMULATOR),
                      QStringList{QStringLiteral("--image"), imagePath, QStringLiteral("--port"),
                                  QString::number(m_port)} +
                          options);
    return m_emulator->waitForStarted(10000) && (!waitUntilSeen || WaitForCardState(true));
}

bool PcscStack::RemoveCard()
{
    Stop(m_emulator);
    return WaitForCardState(false);
}

bool PcscStack::WaitForNoCard()
{
    return WaitForCardState(false);
}

bool PcscStack::WaitForCardState(bool present)
{
    SCARDCONTEXT context = 0;
    if (SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context) != SCARD_S_SUCCESS)
        return false;
    const QByteArray name = ReaderName().toUtf8();
    SCARD_READERSTATE state{};
    state.szReader = name.constData();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    bool reached = false;
    for (int changes = 0; changes < 50 && !reached; ++changes) {
        // Blocks until the reader's state changes (or 10 s pass).
        if (SCardGetStatusChange(context, 10000, &state, 1) != SCARD_S_SUCCESS)
            break;
        reached = ((state.dwEventState & SCARD_STATE_PRESENT) != 0) == present;
        state.dwCurrentState = state.dwEventState & ~SCARD_STATE_CHANGED;
    }
    SCardReleaseContext(context);
    return reached;
}
