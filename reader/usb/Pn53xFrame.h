#pragma once

#include <QByteArray>
#include <optional>

// The frames of the PN53x chips and Sony's RC-S956: a normal frame
// 00 00 FF LEN LCS <data> DCS 00 (LEN + LCS and the data's sum + DCS both 0
// in their low byte), an extended one 00 00 FF FF FF LENM LENL LCS ... with a
// big-endian length for longer data; the ACK 00 00 FF 00 FF 00 (also the
// host's cancel), the NAK 00 00 FF FF 00 00 and the chip's error frame
// 00 00 FF 01 FF 7F 81 00.
class Pn53xFrame
{
public:
    enum class Kind { Ack, Nak, Error, Data, Invalid };
    struct Decoded {
        Kind kind = Kind::Invalid;
        QByteArray data;
    };

    static QByteArray Ack();
    static QByteArray Nak();
    static QByteArray ErrorFrame();
    static QByteArray Data(const QByteArray& data);

    static Decoded Decode(const QByteArray& frame);
};
