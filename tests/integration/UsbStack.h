#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// The USB reader emulator serving one device behind a socket of its own, for
// the test seam FENWIR_USB_SOCKET; stopped again on destruction.
class UsbStack
{
public:
    ~UsbStack();

    // device: rcs380, rcs380p or rcs956; options: the emulator's faults.
    bool Start(const QString& device, const QString& imagePath, const QStringList& options = {});
    QString Socket() const { return m_dir.filePath(QStringLiteral("usb.sock")); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_emulator;
};
