#pragma once

#include <QString>
#include <memory>

class UsbBus;

// What differs between systems in finding card readers and telling the
// user about them (the per-OS parts are in unix/ and windows/).
namespace ReaderPlatform
{
// The smart-card service as the user knows it: pcscd, the Smart Card service.
QString PcscServiceName();
// What to do when the smart-card service does not run, in an office
// worker's words: a paragraph that follows the message.
QString ServiceStoppedAdvice();
// The same for whoever looks after the machine: the exact commands.
QString ServiceStoppedDetails();
// Where the vendor's FeliCa library is, when FENWIR_FELICA_LIBRARY names none.
QString VendorLibraryPath();
// The simulated vendor library beside the programs.
QString SimulatedLibraryPath();
// The USB readers driven without PC/SC: libusb's, or on Linux the test
// socket that FENWIR_USB_SOCKET names.
std::unique_ptr<UsbBus> SystemUsb();
} // namespace ReaderPlatform
