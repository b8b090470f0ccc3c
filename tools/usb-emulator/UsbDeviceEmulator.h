#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

// A USB card reader played in software: what it queues on its bulk IN pipe
// in answer to each bulk OUT transfer. A card lies on it when the test says
// so; faults make it answer the read of one block wrongly.
class UsbDeviceEmulator
{
public:
    enum class Fault {
        None,
        BadChecksum, // the response's data checksum is wrong
        ShortAnswer, // the response is cut short
        Oversized,   // the response runs on beyond its frame
        Nak,         // a NAK instead of the ACK (PN53x)
        ErrorFrame,  // the chip's error frame instead of the response (PN53x)
        ChipError,   // the chip reports a failed exchange with the card
        NoAnswer,    // the ACK, then nothing
        Vanish,      // the device is gone
    };
    struct FaultAt {
        Fault fault = Fault::None;
        int block = -1; // the read of this block goes wrong
    };

    virtual ~UsbDeviceEmulator() = default;

    virtual std::uint16_t Vendor() const = 0;
    virtual std::uint16_t Product() const = 0;
    // The IN transfers the device queues in answer to one OUT transfer.
    virtual std::vector<QByteArray> Receive(const QByteArray& out) = 0;

    void SetFault(FaultAt fault) { m_fault = fault; }
    void SetCardPresent(bool present) { m_cardPresent = present; }
    // The card is laid once the reader has been polled for that many times.
    void SetCardAfterPollings(int pollings) { m_cardAfter = pollings; }
    bool CardPresent() const { return m_cardPresent && m_pollings > m_cardAfter; }
    // True once the device has vanished: its connection must end.
    bool Vanished() const { return m_vanished; }
    // How many times the card was polled for (with it there or not).
    int Pollings() const { return m_pollings; }

    static std::optional<Fault> ParseFault(const QString& name);

    // The ACK frame both chips use (the host also sends it to cancel).
    static const QByteArray kAck;

protected:
    // What goes back for a command answered by frame: the ACK and the
    // frame, as a fault of the link or the device changes them.
    std::vector<QByteArray> Answer(QByteArray frame, Fault fault);
    // The fault for a FeliCa frame sent to the card: only a block read
    // of the faulty block has one.
    Fault FaultFor(const QByteArray& felicaFrame) const;
    void Vanish() { m_vanished = true; }
    void CountPolling() { ++m_pollings; }

private:
    FaultAt m_fault;
    std::atomic<bool> m_cardPresent = true;
    std::atomic<bool> m_vanished = false;
    std::atomic<int> m_pollings = 0;
    std::atomic<int> m_cardAfter = 0;
};
