#pragma once

#include <QByteArray>
#include <optional>

// The frames of Sony's Port-100 chip (RC-S380): an extended frame
// 00 00 FF FF FF LENL LENH LCS <data> DCS 00 with a little-endian length,
// LENL + LENH + LCS and the data's sum + DCS both 0 in their low byte; and
// the ACK 00 00 FF 00 FF 00, which the host also sends to cancel a command.
class Port100Frame
{
public:
    static QByteArray Ack();
    static QByteArray Data(const QByteArray& data);

    static bool IsAck(const QByteArray& frame);
    // The data of a well-formed data frame of exactly its stated length.
    static std::optional<QByteArray> DecodeData(const QByteArray& frame);
};
