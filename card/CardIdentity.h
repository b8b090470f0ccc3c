#pragma once

#include "CardIdGroups.h"
#include "EntryInfo.h"

#include <QString>
#include <optional>
#include <vector>

// Which card a line came from. A card's ID is no proof: a phone's card may
// give another ID at every read, and readers differ on the ID's first byte.
// What the card recorded is: a record's sequence number, date, balance and
// stations are the same at every read of it.

// Whether two lines are one record of one card, whatever ID it was read under.
bool IsSameRecord(const EntryInfo& a, const EntryInfo& b);

// Whether two IDs name one card as far as the ID tells (the first byte aside).
bool IsSameCardId(const CardId& a, const CardId& b);

// The IDs under which a claim knows the card that gave these records: its
// own, and those of the claim's lines that are one of them.
std::vector<CardId> KnownIdsOf(const EntryLines& claim, const CardId& idm,
                               const std::vector<const EntryInfo*>& records);

// Whether a read's records would join a claim of another card: the claim
// holds card lines, none of them under a known ID of this card.
bool IsOtherCard(const EntryLines& claim, const CardId& idm,
                 const std::vector<const EntryInfo*>& records);

// The line of the claim that the card recorded just before `record`
// (sequence number one less, no later), under one of the card's IDs.
const EntryInfo* RecordBefore(const EntryLines& claim, const std::vector<CardId>& ids,
                              const EntryInfo& record);

// Whether the lines come from more than one card: IDs that differ (the
// first byte aside) and that the groups do not know as one card's.
bool HoldsSeveralCards(const EntryLines& lines, const CardIdGroups& groups = {});

// A card named without its whole ID: "****3906".
QString MaskedCardId(const CardId& idm);
// The whole ID as hex digits: "011402123A4B3906".
QString CardIdHex(const CardId& idm);
// And back; nothing when the text is not 16 hex digits.
std::optional<CardId> CardIdFromHex(const QString& hex);
