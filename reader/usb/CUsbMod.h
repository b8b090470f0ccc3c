#pragma once

#include "CReaderMod.h"
#include "FelicaSession.h"
#include "UsbDeviceInfo.h"
#include "UsbTransport.h"

#include <memory>

class UsbBus;

// A reader on USB that the program drives itself, through its chip's own
// frames: opened (and its kernel driver set aside) for one operation, asked
// for a card with a polling, read block by block. The chips differ in their
// frames and commands; the FeliCa side is common.
class CUsbMod : public CReaderMod
{
public:
    CUsbMod(UsbBus& bus, UsbDeviceInfo device, QString model);
    // Each chip's module closes itself, while its Shutdown can still be called.
    ~CUsbMod() override;

    int Open() override;
    int Close() override;
    int Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t timeSlot,
                std::uint8_t spare) override;
    int ReadBlocks(const CardId& idm, std::uint16_t serviceCode, std::uint16_t systemCode,
                   HistoryBlocks& blocks, std::uint8_t maxCount) override;
    int IsAvailable() override { return 1; }
    int IsOpen() override { return m_transport ? 1 : 0; }
    QString GetName() override;
    int GetVersion() override { return m_version; }
    int IsAlive() override { return IsOpen(); }
    // Asks for any card at all: the reader cannot tell an arrival itself.
    int WaitForCard(int timeoutMs) override;

    // Why the last Open failed, for the user.
    QString OpenError() const { return m_openError; }

    // How long the chip waits for the card's answer.
    static constexpr int kPollingTimeoutMs = 10;
    static constexpr int kReadTimeoutMs = 100;
    // Room for any answer frame.
    static constexpr int kReadBufferSize = 300;

protected:
    // Sets the chip up after opening; false when it does not answer.
    virtual bool Initialise() = 0;
    // Turns the field off before the device is given back.
    virtual void Shutdown() = 0;
    // One FeliCa frame to the card and its answer frame, or nothing (no
    // answer within the time, or any fault of the chip or the link).
    virtual std::optional<QByteArray> Exchange(const QByteArray& frame, int timeoutMs) = 0;

    // The chip's framing of a command and of its answers.
    virtual QByteArray DataFrame(const QByteArray& data) const = 0;
    // A data frame's data; nothing for an ACK, NAK, error or broken frame.
    virtual std::optional<QByteArray> DataOf(const QByteArray& frame) const = 0;
    virtual bool IsAck(const QByteArray& frame) const = 0;
    // The ACK, which the host also sends to cancel a command.
    virtual QByteArray AckFrame() const = 0;
    // The first byte of the host's commands; the chip's answers have the next.
    virtual std::uint8_t CommandByte() const = 0;

    // One command to the chip: its frame, the chip's ACK, then its response,
    // whose parameters (after the two leading bytes) are returned. A response
    // that does not come in time is cancelled with an ACK.
    std::optional<QByteArray> Command(int code, const QByteArray& parameters, int timeoutMs);

    static constexpr int kAckTimeoutMs = 100;
    static constexpr int kCommandTimeoutMs = 100;
    // Time for the answer to travel back beyond the card's own timeout.
    static constexpr int kLinkMarginMs = 100;

    UsbTransport& Transport() { return *m_transport; }
    // Reads and drops whatever an interrupted earlier session left queued.
    void Drain();
    void SetChip(const QString& name, int version);

private:
    FelicaSession Felica();

    UsbBus& m_bus;
    UsbDeviceInfo m_device;
    QString m_model;
    QString m_chip;
    QString m_openError;
    int m_version = 0;
    std::unique_ptr<UsbTransport> m_transport;
};
