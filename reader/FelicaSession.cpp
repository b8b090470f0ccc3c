#include "FelicaSession.h"

std::optional<FelicaFrame::PollingAnswer> FelicaSession::Poll(std::uint16_t systemCode,
                                                              std::uint8_t requestCode)
{
    const auto answer = m_exchange(FelicaFrame::Polling(systemCode, requestCode));
    if (!answer)
        return std::nullopt;
    return FelicaFrame::ParsePolling(*answer);
}

int FelicaSession::ReadBlocks(const CardId& idm, std::uint16_t serviceCode, HistoryBlocks& blocks,
                              std::uint8_t maxCount)
{
    HistoryBlocks read;
    for (int n = 0; n < maxCount; ++n) {
        const auto answer = m_exchange(
            FelicaFrame::ReadWithoutEncryption(idm, serviceCode, static_cast<std::uint8_t>(n)));
        const auto parsed =
            answer ? FelicaFrame::ParseRead(*answer, idm) : FelicaFrame::ReadAnswer{};
        if (parsed.status == FelicaFrame::ReadStatus::Invalid) {
            blocks.clear();
            return 0;
        }
        if (parsed.status == FelicaFrame::ReadStatus::NoBlock)
            break;
        if (parsed.block[0] == 0 && parsed.block[1] == 0)
            break;
        read.push_back(parsed.block);
    }
    blocks.insert(blocks.end(), read.begin(), read.end());
    return 1;
}
