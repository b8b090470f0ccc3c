#include "CardImport.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CardReadJob.h"
#include "ClaimRules.h"
#include "ImportHistory.h"

CardImport ImportCard(CCorvaneDoc& doc, const CardInfo& card, const HistoryBlocks& blocks,
                      const QString& connectString, const AppSettings& settings,
                      MessageReporter& messages, const OtherCardQuestion& otherCard)
{
    if (IsOtherCard(doc.Lines(), card.idm) && !(otherCard && otherCard())) {
        CardImport declined;
        declined.declined = true;
        return declined;
    }
    // Trips claimed from another program since the history was read count.
    doc.RefreshHistory();
    CardInfo read = card;
    std::vector<CardHistoryRow> rows;
    EntryLines added;
    CardReadJob job(doc.Lines(), added, rows, read);
    job.Blocks() = blocks;
    CardImport result;
    result.balance = ImportHistory(job, connectString, settings.dbPassword, settings, messages);
    for (const auto& line : added) {
        // A trip a recorded application claimed is not claimed again unasked.
        if (doc.AppliedOn(*line))
            line->applyFlag = 0;
        result.added.push_back(line.get());
    }
    doc.SetLastCard(read, std::move(rows));
    doc.AppendLines(std::move(added), QStringLiteral("カード読込"));
    return result;
}
