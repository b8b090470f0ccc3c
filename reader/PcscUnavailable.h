#pragma once

#include "PcscApi.h"

// A PC/SC service that is not there: every call reports SCARD_E_NO_SERVICE.
// Used where only the vendor library may be asked (the simulated reader).
class PcscUnavailable : public PcscApi
{
public:
    LONG EstablishContext(SCARDCONTEXT&) override { return SCARD_E_NO_SERVICE; }
    LONG ReleaseContext(SCARDCONTEXT) override { return SCARD_E_NO_SERVICE; }
    LONG ListReaders(SCARDCONTEXT, QStringList&) override { return SCARD_E_NO_SERVICE; }
    LONG GetStatusChange(SCARDCONTEXT, const QString&, DWORD, DWORD, ReaderState&) override
    {
        return SCARD_E_NO_SERVICE;
    }
    LONG Connect(SCARDCONTEXT, const QString&, DWORD, DWORD, SCARDHANDLE&) override
    {
        return SCARD_E_NO_SERVICE;
    }
    LONG Disconnect(SCARDHANDLE, DWORD) override { return SCARD_E_NO_SERVICE; }
    LONG BeginTransaction(SCARDHANDLE) override { return SCARD_E_NO_SERVICE; }
    LONG EndTransaction(SCARDHANDLE, DWORD) override { return SCARD_E_NO_SERVICE; }
    LONG Transmit(SCARDHANDLE, const QByteArray&, std::size_t, QByteArray&) override
    {
        return SCARD_E_NO_SERVICE;
    }
    LONG Control(SCARDHANDLE, DWORD, const QByteArray&, std::size_t, QByteArray&) override
    {
        return SCARD_E_NO_SERVICE;
    }
};
