#pragma once

#include "PcscApi.h"
#include "VirtualCard.h"

#include <QMap>
#include <functional>

// A PC/SC service in memory: scripted readers and results, a virtual card on
// the reader, and a log of every call with its bytes.
class FakePcsc : public PcscApi
{
public:
    LONG establishResult = SCARD_S_SUCCESS;
    LONG listResult = SCARD_S_SUCCESS;
    QStringList readers;
    // Readers not listed connect when a card (or an answer) is there, else
    // they answer SCARD_E_NO_SMARTCARD as pcsc-lite does.
    QMap<QString, LONG> connectResults;
    LONG directConnectResult = SCARD_S_SUCCESS;
    LONG beginResult = SCARD_S_SUCCESS;
    VirtualCard* card = nullptr;
    // When set, answers instead of the card; an empty answer fails the transmit.
    std::function<QByteArray(const QByteArray&)> answer;
    // A card of its own on some readers, answering as the reader presents it.
    struct Placed {
        QByteArray atr;
        std::function<QByteArray(const QByteArray&)> answer;
    };
    QMap<QString, Placed> placed;
    LONG controlResult = SCARD_S_SUCCESS;
    QByteArray controlOutput;
    // The ATR of whatever lies on the reader.
    QByteArray atr = QByteArray::fromHex("3B8F8001804F0CA0000003060011003B0000000042");
    LONG statusResult = SCARD_S_SUCCESS;
    // Called when a wait finds the reader unchanged: the test's clock passes
    // the timeout, and the test may lay a card meanwhile.
    std::function<void(DWORD timeoutMs)> waited;

    QStringList log;
    int openContexts = 0;
    int openCards = 0;

    LONG EstablishContext(SCARDCONTEXT& context) override;
    LONG ReleaseContext(SCARDCONTEXT context) override;
    LONG ListReaders(SCARDCONTEXT context, QStringList& list) override;
    LONG GetStatusChange(SCARDCONTEXT context, const QString& reader, DWORD currentState,
                         DWORD timeoutMs, ReaderState& state) override;
    LONG Connect(SCARDCONTEXT context, const QString& reader, DWORD shareMode, DWORD protocols,
                 SCARDHANDLE& handle) override;
    LONG Disconnect(SCARDHANDLE handle, DWORD disposition) override;
    LONG BeginTransaction(SCARDHANDLE handle) override;
    LONG EndTransaction(SCARDHANDLE handle, DWORD disposition) override;
    LONG Transmit(SCARDHANDLE handle, const QByteArray& command, std::size_t receiveSize,
                  QByteArray& response) override;
    LONG Control(SCARDHANDLE handle, DWORD code, const QByteArray& input, std::size_t outputSize,
                 QByteArray& output) override;

    // The log lines that start with a prefix ("transmit", "control", ...).
    QStringList Calls(const QString& prefix) const;

private:
    bool CardOn(const QString& reader) const;

    QMap<SCARDHANDLE, QString> m_connected;
    SCARDHANDLE m_lastHandle = 500;
};

QString Hex(const QByteArray& bytes);
