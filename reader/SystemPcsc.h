#pragma once

#include "PcscApi.h"

// PcscApi on the system's smart-card service: pcsc-lite on Linux,
// winscard.dll on Windows.
class SystemPcsc : public PcscApi
{
public:
    LONG EstablishContext(SCARDCONTEXT& context) override;
    LONG ReleaseContext(SCARDCONTEXT context) override;
    LONG ListReaders(SCARDCONTEXT context, QStringList& readers) override;
    LONG GetStatusChange(SCARDCONTEXT context, const QString& reader, DWORD currentState,
                         DWORD timeoutMs, ReaderState& state) override;
    LONG Connect(SCARDCONTEXT context, const QString& reader, DWORD shareMode, DWORD protocols,
                 SCARDHANDLE& card) override;
    LONG Disconnect(SCARDHANDLE card, DWORD disposition) override;
    LONG BeginTransaction(SCARDHANDLE card) override;
    LONG EndTransaction(SCARDHANDLE card, DWORD disposition) override;
    LONG Transmit(SCARDHANDLE card, const QByteArray& command, std::size_t receiveSize,
                  QByteArray& response) override;
    LONG Control(SCARDHANDLE card, DWORD code, const QByteArray& input, std::size_t outputSize,
                 QByteArray& output) override;
};
