#include "CardReader.h"

#include "CFelicaMod.h"
#include "CardDetector.h"
#include "CardReadJob.h"
#include "CardWaitDialog.h"

namespace
{
int ReadOnce(CReaderMod& module, CardId& idm, CardId& pmm, HistoryBlocks& blocks)
{
    constexpr std::uint16_t kTransit = 0x0003;
    if (!module.Polling(idm, pmm, kTransit, 0, 0))
        return kReaderNotConnected;
    if (!module.ReadBlocks(idm, CardDetector::kHistoryService, kTransit, blocks,
                           CardDetector::kMaxBlocks))
        return kReaderNotConnected;
    return kReaderReady;
}
} // namespace

int ReadCard(CardReadJob& job, int pollingTime, ReaderEnvironment& environment,
             CardWaitDialog* dialog)
{
    CFelicaMod holder;
    const int selected = SelectReader(holder, environment);
    if (selected != kReaderReady)
        return selected == kReaderServiceStopped || selected == kReaderNotConnected
                   ? selected
                   : kReaderOpenFailed;
    CReaderMod& module = *holder.module;
    if (!module.IsAvailable() || !module.Open())
        return kReaderOpenFailed;

    CardId idm{};
    CardId pmm{};
    HistoryBlocks blocks;
    if (pollingTime > 0 && dialog) {
        CardDetector detector(module, idm, pmm, blocks, pollingTime, *dialog);
        if (!dialog->Run(detector) || detector.GetState() != CardDetector::State::Read) {
            module.Close();
            return kReadCancelled;
        }
    } else {
        const int result = ReadOnce(module, idm, pmm, blocks);
        if (result != kReaderReady) {
            module.Close();
            return result;
        }
    }
    module.Close();

    job.Card() = CardInfo{CardInfo::kRead, idm, pmm};
    // The history rows are replaced by the import, once the blocks decode.
    job.Blocks() = std::move(blocks);
    return kReaderReady;
}

QString FormatIdm(const CardId& idm)
{
    QString text;
    for (std::uint8_t byte : idm)
        text += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    return text;
}
