#pragma once

#include "CardInfo.h"
#include "HistoryBlock.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// A card as a file: what polling answers and what the history service holds.
// Two forms are read:
//  - our JSON image: {"idm": "01 01 ...", "pmm": "...", "systemCodes": ["0003"],
//    "history": ["16 01 00 02 ...", ...]} with history block 0 first;
//  - the text dump common NFC tools write for FeliCa cards ("UID: 01 01 ...",
//    "Block 0001: | Service code 090F | Block index 00 | Data: 16 01 ... |").
struct CardImage {
    static constexpr std::uint16_t kTransitSystemCode = 0x0003;
    static constexpr std::uint16_t kHistoryServiceCode = 0x090F;

    CardId idm{};
    CardId pmm{};
    std::vector<std::uint16_t> systemCodes;
    HistoryBlocks history;

    // On failure returns nothing and says why in *error, naming the line.
    static std::optional<CardImage> Parse(const QByteArray& text, QString* error);
    static std::optional<CardImage> Load(const QString& path, QString* error);

    QByteArray ToJson() const;
};
