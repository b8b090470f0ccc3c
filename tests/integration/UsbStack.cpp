#include "UsbStack.h"

UsbStack::~UsbStack()
{
    if (m_emulator && m_emulator->state() != QProcess::NotRunning) {
        m_emulator->terminate();
        if (!m_emulator->waitForFinished(5000)) {
            m_emulator->kill();
            m_emulator->waitForFinished(5000);
        }
    }
}

bool UsbStack::Start(const QString& device, const QString& imagePath, const QStringList& options)
{
    m_emulator = std::make_unique<QProcess>();
    m_emulator->setReadChannel(QProcess::StandardError);
    m_emulator->start(QStringLiteral(FENWIR_USB_EMULATOR),
                      QStringList{QStringLiteral("--device"), device, QStringLiteral("--image"),
                                  imagePath, QStringLiteral("--socket"), Socket()} +
                          options);
    if (!m_emulator->waitForStarted(10000))
        return false;
    // It says so once its socket listens.
    QByteArray said;
    while (!said.contains("listening on") && m_emulator->waitForReadyRead(10000))
        said += m_emulator->readAllStandardError();
    return said.contains("listening on");
}
