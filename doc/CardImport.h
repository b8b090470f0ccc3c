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

// A card's records merged into the claim, the same for the card read and the
// import of a card image.
struct CardImport {
    std::int32_t balance = -1; // of the newest record; -1 without records
    std::vector<const EntryInfo*> added;
    bool declined = false; // another card's history, not to be added
};

// Asked before another card's history joins the claim; true to add it.
using OtherCardQuestion = std::function<bool()>;

// Decodes the records (block 0 the newest), drops those the claim holds,
// names the stations, then appends the new lines as one undoable step (undo
// removes them) and keeps the card as the last one read. A line that a
// recorded application holds is added unmarked. The history of a card other
// than the claim's is added only when the question says so. Throws
// BlockDecodeError when a record cannot be decoded: the claim is unchanged.
CardImport ImportCard(CCorvaneDoc& doc, const CardInfo& card, const HistoryBlocks& blocks,
                      const QString& connectString, const AppSettings& settings,
                      MessageReporter& messages, const OtherCardQuestion& otherCard);
