#pragma once

#include <QObject>
#include <QString>
#include <memory>

// How a later start of the program hands its file to the copy that runs: a
// local socket beside the instance lock. The running copy listens; a later
// start sends the file (or nothing, to bring the window to the front) and
// ends once the running copy has taken it.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;

    // In the running copy, which holds the instance lock: false when the
    // channel cannot be opened (later starts then say the program runs).
    bool Listen(const QString& name = DefaultName());
    // In a later start: true when the running copy took the file (an empty
    // path asks it only to come to the front).
    static bool Send(const QString& file, const QString& name = DefaultName());
    static QString DefaultName();

Q_SIGNALS:
    // A later start asked for this file to be opened; empty: only to come
    // to the front. Emitted from the event loop after the message was
    // answered, so a receiver may ask the user (a modal question) first.
    void Received(const QString& file);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
