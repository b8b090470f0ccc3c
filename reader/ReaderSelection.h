#pragma once

#include "PcscPlatform.h"

#include <QString>

class CFelicaMod;
class PcscApi;
class UsbBus;

// What a reader selection may use: the PC/SC service, where the vendor
// FeliCa library would be, and the USB readers driven without PC/SC (none
// when there is no bus).
struct ReaderEnvironment {
    PcscApi& pcsc;
    QString vendorLibrary;
    UsbBus* usb = nullptr;
};

// Result codes of the selection and the read.
enum ReaderResult {
    kReaderReady = 0,
    kReaderOpenFailed = -1,     // message 150
    kReaderNotConnected = -2,   // message 180
    kReaderServiceStopped = -3, // message 147
    kReadCancelled = -5,
};

// The first recognised PC/SC reader the service can open (an empty reader is
// no obstacle). 0 and the holder's name and model index filled, or the error.
LONG FindPcscReader(CFelicaMod& holder, ReaderEnvironment& environment);
// A ready module in the holder (0), or -1, -2, -3. PC/SC readers come first
// (the name table, Part 3, the makers' families), then USB readers, then the
// vendor library.
int SelectReader(CFelicaMod& holder, ReaderEnvironment& environment);
// At start: puts a recognised PC/SC reader into reading mode.
void PrepareReader(ReaderEnvironment& environment);
// At the end: puts a recognised PC/SC reader back into resting mode.
void RestReader(ReaderEnvironment& environment);

// The message of a result code, or empty for 0 and -5. A stopped service's
// message says what to do about it on this system.
int ReaderMessageId(int result);
QString ReaderMessageText(int result);
// The commands behind a message, for whoever looks after the machine.
QString ReaderMessageDetails(int result);
QString ServiceStoppedAdvice();
