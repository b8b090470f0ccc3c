#include "CardImport.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CardIdentity.h"
#include "CardReadJob.h"
#include "ImportHistory.h"
#include "TextFormat.h"
#include "VisitSuggestions.h"

#include <QDateTime>

QString OtherCard::Description(const QString& name) const
{
    const QString card = name.isEmpty() ? QStringLiteral("カード %1").arg(MaskedCardId(idm))
                                        : QStringLiteral("%1 %2").arg(name, MaskedCardId(idm));
    const QString use =
        QDateTime::fromSecsSinceEpoch(newestUse).toString(QStringLiteral("yyyy/MM/dd"));
    return QStringLiteral("別のカードの履歴です（%1、残額 %2円、最終利用 %3）。")
        .arg(card, FormatYen(balance), use);
}

namespace
{
// The records as the card holds them, oldest first, without names.
EntryLines DecodeRecords(const CardInfo& card, const HistoryBlocks& blocks)
{
    const EntryLines none;
    EntryLines records;
    std::vector<CardHistoryRow> rows;
    CardInfo read = card;
    CardReadJob job(none, records, rows, read);
    std::int32_t previousBalance = -1;
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block)
        records.push_back(job.DecodeBlock(*block, previousBalance));
    return records;
}

std::vector<const EntryInfo*> Pointers(const EntryLines& lines)
{
    std::vector<const EntryInfo*> pointers;
    for (const auto& line : lines)
        pointers.push_back(line.get());
    return pointers;
}
} // namespace

CardImport ImportCard(CCorvaneDoc& doc, const CardInfo& card, const HistoryBlocks& blocks,
                      const QString& connectString, const AppSettings& settings,
                      MessageReporter& messages, const OtherCardQuestion& otherCard)
{
    const EntryLines records = DecodeRecords(card, blocks);
    const auto recordPointers = Pointers(records);
    if (IsOtherCard(doc.Lines(), card.idm, recordPointers)) {
        const OtherCard other{card.idm, records.empty() ? -1 : records.back()->balance,
                              records.empty() ? 0 : records.back()->dateTime};
        if (!(otherCard && otherCard(other))) {
            CardImport declined;
            declined.declined = true;
            return declined;
        }
    }
    CardImport result;
    const std::vector<CardId> ids = KnownIdsOf(doc.Lines(), card.idm, recordPointers);
    result.knownAs.assign(ids.begin() + 1, ids.end());
    // Trips claimed from another program since the history was read count.
    doc.RefreshHistory();
    CardInfo read = card;
    std::vector<CardHistoryRow> rows;
    EntryLines added;
    CardReadJob job(doc.Lines(), added, rows, read);
    job.Blocks() = blocks;
    result.balance =
        ImportHistory(job, connectString, settings.dbPassword, settings, messages, ids);
    for (const auto& line : added) {
        // A trip a recorded application claimed is not claimed again unasked.
        if (doc.AppliedOn(*line))
            line->applyFlag = 0;
        result.added.push_back(line.get());
    }
    result.visitsSuggested = OfferVisitSuggestions(added);
    doc.SetLastCard(read, std::move(rows));
    doc.AppendLines(std::move(added), QStringLiteral("カード読込"));
    return result;
}
