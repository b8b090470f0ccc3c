#pragma once

#include "PcscPlatform.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>

// The smart-card calls the reader modules make, behind an interface so tests
// can record commands and play answers. Status codes are PC/SC's own
// (SCARD_S_SUCCESS, SCARD_E_...).
class PcscApi
{
public:
    // What the service knows of a reader: SCARD_STATE_... flags and the ATR
    // of the card on it, if any.
    struct ReaderState {
        DWORD eventState = 0;
        QByteArray atr;
    };

    virtual ~PcscApi() = default;

    virtual LONG EstablishContext(SCARDCONTEXT& context) = 0;
    virtual LONG ReleaseContext(SCARDCONTEXT context) = 0;
    virtual LONG ListReaders(SCARDCONTEXT context, QStringList& readers) = 0;
    // Waits up to timeoutMs for the reader's state to differ from
    // currentState (SCARD_STATE_UNAWARE answers at once); SCARD_E_TIMEOUT
    // when nothing changed.
    virtual LONG GetStatusChange(SCARDCONTEXT context, const QString& reader, DWORD currentState,
                                 DWORD timeoutMs, ReaderState& state) = 0;
    virtual LONG Connect(SCARDCONTEXT context, const QString& reader, DWORD shareMode,
                         DWORD protocols, SCARDHANDLE& card) = 0;
    virtual LONG Disconnect(SCARDHANDLE card, DWORD disposition) = 0;
    virtual LONG BeginTransaction(SCARDHANDLE card) = 0;
    virtual LONG EndTransaction(SCARDHANDLE card, DWORD disposition) = 0;
    // Sends with the T=1 protocol information; response holds the bytes received.
    virtual LONG Transmit(SCARDHANDLE card, const QByteArray& command, std::size_t receiveSize,
                          QByteArray& response) = 0;
    virtual LONG Control(SCARDHANDLE card, DWORD code, const QByteArray& input,
                         std::size_t outputSize, QByteArray& output) = 0;
};
