#include "FakePcsc.h"

QString Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

LONG FakePcsc::EstablishContext(SCARDCONTEXT& context)
{
    log << QStringLiteral("establish");
    if (establishResult != SCARD_S_SUCCESS)
        return establishResult;
    context = 100 + ++openContexts;
    return SCARD_S_SUCCESS;
}

LONG FakePcsc::ReleaseContext(SCARDCONTEXT)
{
    log << QStringLiteral("release");
    --openContexts;
    return SCARD_S_SUCCESS;
}

LONG FakePcsc::ListReaders(SCARDCONTEXT, QStringList& list)
{
    list = readers;
    if (listResult == SCARD_S_SUCCESS && readers.isEmpty())
        return SCARD_E_NO_READERS_AVAILABLE;
    return listResult;
}

LONG FakePcsc::GetStatusChange(SCARDCONTEXT context, const QString& reader, DWORD currentState,
                               DWORD timeoutMs, ReaderState& state)
{
    log << QStringLiteral("wait %1 /%2").arg(reader).arg(timeoutMs);
    if (context == 0)
        return SCARD_E_INVALID_HANDLE;
    if (statusResult != SCARD_S_SUCCESS)
        return statusResult;
    const auto now = [this, &reader]() -> DWORD {
        return CardOn(reader) ? SCARD_STATE_PRESENT : SCARD_STATE_EMPTY;
    };
    const DWORD known = currentState & ~static_cast<DWORD>(SCARD_STATE_CHANGED);
    if (currentState != SCARD_STATE_UNAWARE && known == now()) {
        if (waited)
            waited(timeoutMs);
        if (known == now())
            return SCARD_E_TIMEOUT;
    }
    state.eventState = now() | SCARD_STATE_CHANGED;
    state.atr = now() != SCARD_STATE_PRESENT ? QByteArray()
                : placed.contains(reader)    ? placed[reader].atr
                                             : atr;
    return SCARD_S_SUCCESS;
}

LONG FakePcsc::Connect(SCARDCONTEXT context, const QString& reader, DWORD shareMode,
                       DWORD protocols, SCARDHANDLE& handle)
{
    log << QStringLiteral("connect %1 share=%2 protocols=%3")
               .arg(reader)
               .arg(shareMode)
               .arg(protocols);
    if (context == 0)
        return SCARD_E_INVALID_HANDLE;
    // As pcsc-lite answers: a shared connection needs a card on the reader.
    const LONG shared = CardOn(reader) ? SCARD_S_SUCCESS : SCARD_E_NO_SMARTCARD;
    const LONG result = shareMode == SCARD_SHARE_DIRECT ? directConnectResult
                                                        : connectResults.value(reader, shared);
    if (result != SCARD_S_SUCCESS)
        return result;
    ++openCards;
    handle = ++m_lastHandle;
    m_connected[handle] = reader;
    return SCARD_S_SUCCESS;
}

LONG FakePcsc::Disconnect(SCARDHANDLE, DWORD disposition)
{
    log << QStringLiteral("disconnect %1").arg(disposition);
    --openCards;
    return SCARD_S_SUCCESS;
}

LONG FakePcsc::BeginTransaction(SCARDHANDLE handle)
{
    log << QStringLiteral("begin");
    return handle == 0 ? SCARD_E_INVALID_HANDLE : beginResult;
}

LONG FakePcsc::EndTransaction(SCARDHANDLE, DWORD disposition)
{
    log << QStringLiteral("end %1").arg(disposition);
    return SCARD_S_SUCCESS;
}

LONG FakePcsc::Transmit(SCARDHANDLE handle, const QByteArray& command, std::size_t receiveSize,
                        QByteArray& response)
{
    log << QStringLiteral("transmit %1 /%2").arg(Hex(command)).arg(receiveSize);
    response.clear();
    if (handle == 0)
        return SCARD_E_INVALID_HANDLE;
    QByteArray reply;
    const QString reader = m_connected.value(handle);
    if (placed.contains(reader))
        reply = placed[reader].answer(command);
    else if (answer)
        reply = answer(command);
    else if (card)
        reply = card->Respond(command);
    if (reply.isEmpty())
        return SCARD_W_REMOVED_CARD;
    if (static_cast<std::size_t>(reply.size()) > receiveSize)
        return SCARD_E_INSUFFICIENT_BUFFER;
    response = reply;
    return SCARD_S_SUCCESS;
}

LONG FakePcsc::Control(SCARDHANDLE handle, DWORD code, const QByteArray& input,
                       std::size_t outputSize, QByteArray& output)
{
    log << QStringLiteral("control %1 %2 /%3").arg(code, 0, 16).arg(Hex(input)).arg(outputSize);
    output.clear();
    if (handle == 0)
        return SCARD_E_INVALID_HANDLE;
    if (controlResult == SCARD_S_SUCCESS)
        output = controlOutput.left(static_cast<qsizetype>(outputSize));
    return controlResult;
}

bool FakePcsc::CardOn(const QString& reader) const
{
    return placed.contains(reader) || card || answer;
}

QStringList FakePcsc::Calls(const QString& prefix) const
{
    QStringList calls;
    for (const QString& line : log)
        if (line.startsWith(prefix))
            calls << line;
    return calls;
}
