#include "CardImport.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CardIdentity.h"
#include "CardReadJob.h"
#include "ClaimRules.h"
#include "ImportHistory.h"
#include "SequenceNumber.h"
#include "TextFormat.h"
#include "VisitSuggestions.h"

#include <QDateTime>
#include <algorithm>

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

// The claim's lines of this card whose fare the card did not hold, given it
// by a record of this read just before them: an older read of the card.
std::vector<std::pair<std::size_t, EntryInfo>>
CompletedFares(CCorvaneDoc& doc, const EntryLines& records, const std::vector<CardId>& ids)
{
    std::vector<std::pair<std::size_t, EntryInfo>> completed;
    if (records.empty())
        return completed;
    const EntryLines& claim = doc.Lines();
    for (std::size_t position = 0; position < claim.size(); ++position) {
        const EntryInfo& line = *claim[position];
        const bool ofThisCard = std::any_of(
            ids.begin(), ids.end(), [&](const CardId& id) { return IsSameCardId(id, line.idm); });
        if (!line.fareUnknown || line.IsManual() || !ofThisCard)
            continue;
        // When the read holds the line's own record, only the record the card
        // holds right before it can be its predecessor.
        const auto own = std::find_if(records.begin(), records.end(), [&](const auto& record) {
            return IsSameRecord(*record, line);
        });
        const EntryInfo* before =
            own == records.end() ? RecordBefore(records, {records.front()->idm}, line)
            : own == records.begin() ||
                    !SequenceNumber::Follows((*(own - 1))->serialNumber, line.serialNumber)
                ? nullptr
                : (own - 1)->get();
        if (!before)
            continue;
        EntryInfo after = line;
        after.fare = before->balance - line.balance;
        after.fareUnknown = false;
        // As one read of the whole history would have given it.
        after.applyFlag = after.fare > 0 && CanApply(after) && !doc.AppliedOn(after) ? 1 : 0;
        completed.emplace_back(position, std::move(after));
    }
    return completed;
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
    // IDs known as this card's: by records in common with the claim, and
    // from earlier reads that showed them to be one card.
    std::vector<CardId> ids = KnownIdsOf(doc.Lines(), card.idm, recordPointers);
    for (const QString& hex : doc.CardGroups().IdsOf(CardIdHex(card.idm)))
        if (const auto id = CardIdFromHex(hex);
            id && std::none_of(ids.begin(), ids.end(),
                               [&](const CardId& known) { return IsSameCardId(known, *id); }))
            ids.push_back(*id);
    const bool knownCard =
        std::any_of(doc.Lines().begin(), doc.Lines().end(), [&](const auto& line) {
            return !line->IsManual() && std::any_of(ids.begin(), ids.end(), [&](const CardId& id) {
                return IsSameCardId(id, line->idm);
            });
        });
    if (!knownCard && IsOtherCard(doc.Lines(), card.idm, recordPointers)) {
        const OtherCard other{card.idm, records.empty() ? -1 : records.back()->balance,
                              records.empty() ? 0 : records.back()->dateTime};
        if (!(otherCard && otherCard(other))) {
            CardImport declined;
            declined.declined = true;
            return declined;
        }
    }
    CardImport result;
    result.knownAs.assign(ids.begin() + 1, ids.end());
    // The IDs the claim knew first come first.
    std::vector<CardId> linked = result.knownAs;
    linked.push_back(card.idm);
    doc.LinkCardIds(linked);
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
    auto completed = CompletedFares(doc, records, ids);
    result.faresCompleted = static_cast<int>(completed.size());
    doc.SetLastCard(read, std::move(rows));
    doc.AppendLines(std::move(added), QStringLiteral("カード読込"), std::move(completed));
    return result;
}
