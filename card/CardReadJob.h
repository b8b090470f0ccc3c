#pragma once

#include "CardHistoryRow.h"
#include "CardInfo.h"
#include "EntryInfo.h"
#include "HistoryBlock.h"

#include <memory>
#include <vector>

// One card read: the blocks it brought, and the document data it fills.
class CardReadJob
{
public:
    // New lines are appended to the lines they are checked against.
    CardReadJob(EntryLines& lines, std::vector<CardHistoryRow>& historyRows, CardInfo& card);
    // New lines are checked against held and collected in added, so the
    // caller decides how they join the claim.
    CardReadJob(const EntryLines& held, EntryLines& added, std::vector<CardHistoryRow>& historyRows,
                CardInfo& card);

    // Decodes one record into a new line and appends its history row.
    // previousBalance is -1 before the oldest block of a read and carries the
    // balance from block to block; blocks are handed oldest first.
    // Throws BlockDecodeError when the date or time is out of range.
    std::unique_ptr<EntryInfo> DecodeBlock(const HistoryBlock& block,
                                           std::int32_t& previousBalance);

    // The lines a record is a duplicate of, and where the new ones go.
    const EntryLines& Held() const { return m_held; }
    EntryLines& Added() { return m_added; }
    std::vector<CardHistoryRow>& HistoryRows() { return m_historyRows; }
    CardInfo& Card() { return m_card; }
    HistoryBlocks& Blocks() { return m_blocks; }
    const HistoryBlocks& Blocks() const { return m_blocks; }

private:
    const EntryLines& m_held;
    EntryLines& m_added;
    std::vector<CardHistoryRow>& m_historyRows;
    CardInfo& m_card;
    HistoryBlocks m_blocks;
};
