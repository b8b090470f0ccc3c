#include "CardReadJob.h"

#include "BlockDecodeError.h"
#include "HistoryCodes.h"
#include "LocalTime.h"

#include <string>

namespace
{
std::uint16_t Word(const HistoryBlock& b, int at)
{
    return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]);
}

std::int64_t DecodeDateTime(const HistoryBlock& b)
{
    const std::uint16_t date = Word(b, 4);
    const int year = 2000 + (date >> 9);
    const int month = (date >> 5) & 0xF;
    const int day = date & 0x1F;
    int hour = 0;
    int minute = 0;
    if (HasTimeOfDay(b[0])) {
        const std::uint16_t time = Word(b, 6);
        hour = time >> 11;
        minute = (time >> 5) & 0x3F;
    }
    const auto timestamp = LocalToTimestamp(year, month, day, hour, minute, 0);
    if (!timestamp)
        throw BlockDecodeError("日付または時刻が正しくない履歴があります: " + std::to_string(year) +
                               "/" + std::to_string(month) + "/" + std::to_string(day) + " " +
                               std::to_string(hour) + ":" + std::to_string(minute));
    return *timestamp;
}

std::int32_t SignExtend24(std::uint32_t value)
{
    return static_cast<std::int32_t>(value << 8) >> 8;
}
} // namespace

CardReadJob::CardReadJob(EntryLines& lines, std::vector<CardHistoryRow>& historyRows,
                         CardInfo& card)
    : CardReadJob(lines, lines, historyRows, card)
{
}

CardReadJob::CardReadJob(const EntryLines& held, EntryLines& added,
                         std::vector<CardHistoryRow>& historyRows, CardInfo& card)
    : m_held(held), m_added(added), m_historyRows(historyRows), m_card(card)
{
}

std::unique_ptr<EntryInfo> CardReadJob::DecodeBlock(const HistoryBlock& block,
                                                    std::int32_t& previousBalance)
{
    auto line = std::make_unique<EntryInfo>();
    line->hidden = 0;
    line->idm = m_card.idm;
    line->terminalType = block[0];
    line->processType = block[1];
    line->paymentType = block[2];
    line->recordByte3 = block[3];
    line->dateTime = DecodeDateTime(block);
    line->balance = block[10] + 256 * block[11];
    line->fareUnknown = previousBalance == -1;
    line->fare = line->fareUnknown ? 0 : previousBalance - line->balance;
    line->applyFlag = line->fare > 0 ? 1 : 0;
    previousBalance = line->balance;

    m_historyRows.push_back(CardHistoryRow{
        line->dateTime, TerminalTypeText(line->terminalType), ProcessTypeText(line->processType),
        line->fare < 0 ? -line->fare : 0, line->fare >= 0 ? line->fare : 0, line->balance});

    switch (ClassifyRecord(line->terminalType, line->processType)) {
    case RecordClass::Shop:
        line->applyFlag = 0;
        break;
    case RecordClass::Bus:
        line->exitLine = Word(block, 6);
        line->exitStation = Word(block, 8);
        break;
    case RecordClass::Rail:
        line->entryLine = block[6];
        line->entryStation = block[7];
        line->exitLine = block[8];
        line->exitStation = block[9];
        break;
    }
    if (line->processType == 7 || line->processType == 17)
        line->applyFlag = 0;

    line->serialNumber = SignExtend24(static_cast<std::uint32_t>(block[12]) << 16 |
                                      static_cast<std::uint32_t>(block[13]) << 8 | block[14]);
    line->regionByte = block[15];
    line->entryArea = line->exitArea = static_cast<std::uint8_t>(block[15] >> 6);
    return line;
}
