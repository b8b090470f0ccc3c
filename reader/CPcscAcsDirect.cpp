#include "CPcscAcsDirect.h"

QByteArray CPcscAcsDirect::Wrap(const QByteArray& frame)
{
    return Bytes({0xFF, 0x00, 0x00, 0x00, static_cast<int>(frame.size())}) + frame;
}

std::optional<QByteArray> CPcscAcsDirect::Carry(const QByteArray& frame)
{
    auto answer = Data(Wrap(frame));
    if (!answer || !IsFrame(*answer))
        return std::nullopt;
    return answer;
}
