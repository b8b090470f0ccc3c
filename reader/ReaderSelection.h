#pragma once

#include <PCSC/wintypes.h>
#include <QString>

class CFelicaMod;
class PcscApi;

// What a reader selection may use: the PC/SC service, and where the vendor
// FeliCa library would be.
struct ReaderEnvironment {
    PcscApi& pcsc;
    QString vendorLibrary;
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
// A ready module in the holder (0), or -1, -2, -3.
int SelectReader(CFelicaMod& holder, ReaderEnvironment& environment);
// At start: puts a recognised PC/SC reader into reading mode.
void PrepareReader(ReaderEnvironment& environment);
// At the end: puts a recognised PC/SC reader back into resting mode.
void RestReader(ReaderEnvironment& environment);

// The message of a result code, or empty for 0 and -5.
int ReaderMessageId(int result);
QString ReaderMessageText(int result);
