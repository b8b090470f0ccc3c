#pragma once

#include "PcscUnavailable.h"
#include "ReaderSelection.h"
#include "SystemPcsc.h"

#include <QString>
#include <memory>

class UsbBus;

// Which reader a program reads through: "auto" (the PC/SC service, the USB
// readers, then the vendor library), or the simulated vendor library playing
// a card image ("demo" for the demo card beside the program, "image:FILE").
// The USB readers are libusb's, or the one device behind the socket that
// FENWIR_USB_SOCKET names.
class ReaderChoice
{
public:
    explicit ReaderChoice(const QString& choice = QStringLiteral("auto"));
    ~ReaderChoice();
    ReaderChoice(const ReaderChoice&) = delete;
    ReaderChoice& operator=(const ReaderChoice&) = delete;

    static bool IsValid(const QString& choice);
    bool Simulated() const { return m_simulated; }
    QString CardImage() const { return m_image; }
    ReaderEnvironment& Environment() { return m_environment; }

private:
    SystemPcsc m_pcsc;
    PcscUnavailable m_noPcsc;
    std::unique_ptr<UsbBus> m_usb;
    bool m_simulated;
    QString m_image;
    ReaderEnvironment m_environment;
};
