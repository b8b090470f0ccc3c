#pragma once

#include "InstanceChannel.h"

#include <QCoreApplication>
#include <chrono>
#include <future>

// Sends as a later start would, on another thread, and runs the event loop
// of the running copy until the send is answered.
inline bool SendWhileListening(const QString& file, const QString& name)
{
    auto sent = std::async(std::launch::async, [&] { return InstanceChannel::Send(file, name); });
    while (sent.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return sent.get();
}
