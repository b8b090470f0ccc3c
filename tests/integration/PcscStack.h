#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A private pcscd whose only reader is the virtual one (named as asked), and
// the card emulator playing a card image into it. Everything started is
// stopped again on destruction.
class PcscStack
{
public:
    PcscStack();
    ~PcscStack();

    // Starts pcscd; with an empty name it has no reader at all.
    bool StartService(const QString& readerName);
    // Starts the emulator on slot 0 (options: its faults, its personality)
    // and, unless told not to, waits until the reader sees the card.
    bool PlaceCard(const QString& imagePath, const QStringList& options = {},
                   bool waitUntilSeen = true);
    // Waits until the reader reports no card.
    bool WaitForNoCard();
    // Takes the card away (stops the emulator) and waits until the reader says so.
    bool RemoveCard();
    QString ReaderName() const { return m_readerName + QStringLiteral(" 00 00"); }
    QString Log() const;

    static bool ServiceAlreadyRunning();

private:
    bool WaitForCardState(bool present);

    QTemporaryDir m_dir;
    QString m_readerName;
    quint16 m_port = 0;
    std::unique_ptr<QProcess> m_pcscd;
    std::unique_ptr<QProcess> m_emulator;
};
