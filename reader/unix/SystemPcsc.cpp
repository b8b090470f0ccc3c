#include "SystemPcsc.h"

#include <algorithm>
#include <vector>

LONG SystemPcsc::EstablishContext(SCARDCONTEXT& context)
{
    return SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context);
}

LONG SystemPcsc::ReleaseContext(SCARDCONTEXT context)
{
    return SCardReleaseContext(context);
}

LONG SystemPcsc::ListReaders(SCARDCONTEXT context, QStringList& readers)
{
    readers.clear();
    DWORD size = 0;
    LONG status = SCardListReaders(context, nullptr, nullptr, &size);
    if (status != SCARD_S_SUCCESS)
        return status;
    std::vector<char> names(size + 1, '\0');
    status = SCardListReaders(context, nullptr, names.data(), &size);
    if (status != SCARD_S_SUCCESS)
        return status;
    // A multi-string: names separated by NULs, ended by an empty one.
    for (const char* p = names.data(); *p != '\0'; p += qstrlen(p) + 1)
        readers.append(QString::fromUtf8(p));
    return SCARD_S_SUCCESS;
}

LONG SystemPcsc::GetStatusChange(SCARDCONTEXT context, const QString& reader, DWORD currentState,
                                 DWORD timeoutMs, ReaderState& state)
{
    const QByteArray name = reader.toUtf8();
    SCARD_READERSTATE query{};
    query.szReader = name.constData();
    query.dwCurrentState = currentState;
    const LONG status = SCardGetStatusChange(context, timeoutMs, &query, 1);
    if (status != SCARD_S_SUCCESS)
        return status;
    state.eventState = query.dwEventState;
    const DWORD atrSize = std::min<DWORD>(query.cbAtr, sizeof query.rgbAtr);
    state.atr =
        QByteArray(reinterpret_cast<const char*>(query.rgbAtr), static_cast<qsizetype>(atrSize));
    return SCARD_S_SUCCESS;
}

LONG SystemPcsc::Connect(SCARDCONTEXT context, const QString& reader, DWORD shareMode,
                         DWORD protocols, SCARDHANDLE& card)
{
    DWORD active = 0;
    return SCardConnect(context, reader.toUtf8().constData(), shareMode, protocols, &card, &active);
}

LONG SystemPcsc::Disconnect(SCARDHANDLE card, DWORD disposition)
{
    return SCardDisconnect(card, disposition);
}

LONG SystemPcsc::BeginTransaction(SCARDHANDLE card)
{
    return SCardBeginTransaction(card);
}

LONG SystemPcsc::EndTransaction(SCARDHANDLE card, DWORD disposition)
{
    return SCardEndTransaction(card, disposition);
}

LONG SystemPcsc::Transmit(SCARDHANDLE card, const QByteArray& command, std::size_t receiveSize,
                          QByteArray& response)
{
    response = QByteArray(static_cast<qsizetype>(receiveSize), '\0');
    DWORD received = static_cast<DWORD>(receiveSize);
    const LONG status =
        SCardTransmit(card, SCARD_PCI_T1, reinterpret_cast<const BYTE*>(command.constData()),
                      static_cast<DWORD>(command.size()), nullptr,
                      reinterpret_cast<BYTE*>(response.data()), &received);
    response.truncate(status == SCARD_S_SUCCESS ? static_cast<qsizetype>(received) : 0);
    return status;
}

LONG SystemPcsc::Control(SCARDHANDLE card, DWORD code, const QByteArray& input,
                         std::size_t outputSize, QByteArray& output)
{
    output = QByteArray(static_cast<qsizetype>(outputSize), '\0');
    DWORD returned = 0;
    const LONG status =
        SCardControl(card, code, input.constData(), static_cast<DWORD>(input.size()), output.data(),
                     static_cast<DWORD>(outputSize), &returned);
    output.truncate(status == SCARD_S_SUCCESS ? static_cast<qsizetype>(returned) : 0);
    return status;
}
