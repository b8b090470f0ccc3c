#pragma once

#include "CardInfo.h"
#include "EntryInfo.h"
#include "HistoryBlock.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class AppSettings;
class CCorvaneDoc;
class MessageReporter;

// A card whose history is not the claim's, as the question names it.
struct OtherCard {
    CardId idm{};
    std::int32_t balance = -1; // after its newest record
    std::int64_t newestUse = 0;

    // "別のカードの履歴です（カード ****3906、残額 1,234円、最終利用 2026/12/09）。",
    // with the name the user gave the card, if any.
    QString Description(const QString& name) const;
};

// A card's records merged into the claim, the same for the card read and the
// import of a card image.
struct CardImport {
    std::int32_t balance = -1; // of the newest record; -1 without records
    std::vector<const EntryInfo*> added;
    bool declined = false; // another card's history, not to be added
    // Other IDs under which the claim knows this card (a phone's card, or a
    // reader that reports the ID differently), found by records in common.
    std::vector<CardId> knownAs;
    // New claimed trips given the visit destination remembered for their
    // exit station, as a suggestion.
    int visitsSuggested = 0;
    // Lines of the claim whose fare the card had not held, now known from a
    // record of this read just before them.
    int faresCompleted = 0;

    // What the user is told of them: "訪問先を3件補いました".
    static QString VisitsSuggestedText(int count)
    {
        return QStringLiteral("訪問先を%1件補いました").arg(count);
    }
};

// Asked before another card's history joins the claim; true to add it.
using OtherCardQuestion = std::function<bool(const OtherCard&)>;

// Decodes the records (block 0 the newest), drops those the claim holds
// (under whatever ID the card was read before), names the stations, then
// appends the new lines as one undoable step (undo removes them) and keeps
// the card as the last one read. A line of the claim whose fare the card did
// not hold gets it in the same step when this read holds the record before it. A line that a
// recorded application holds is added unmarked. The history of a card other than the claim's is
// added only when the question says so. Throws BlockDecodeError when a record cannot be decoded:
// the claim is unchanged.
CardImport ImportCard(CCorvaneDoc& doc, const CardInfo& card, const HistoryBlocks& blocks,
                      const QString& connectString, const AppSettings& settings,
                      MessageReporter& messages, const OtherCardQuestion& otherCard);
