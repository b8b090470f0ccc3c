#pragma once

#include <QByteArray>

// A USB reader's pair of bulk pipes, opened for one operation. Closing it
// (destroying it) gives the device back.
class UsbTransport
{
public:
    enum class Status {
        Ok,
        Timeout, // nothing came within the time
        Failed,  // the device failed, vanished, or sent more than asked for
    };

    virtual ~UsbTransport() = default;

    // One bulk OUT transfer of the whole frame.
    virtual bool Write(const QByteArray& frame, int timeoutMs) = 0;
    // One bulk IN transfer of at most maxSize bytes.
    virtual Status Read(QByteArray& frame, int maxSize, int timeoutMs) = 0;
};
