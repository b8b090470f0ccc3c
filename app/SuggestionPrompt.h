#pragma once

#include "EntryInfo.h"

#include <QString>
#include <vector>

class CCorvaneDoc;
class Prompts;

// Visit destinations suggested from a station and never confirmed are not
// the user's word. Before such lines leave the program (a CSV file, a print)
// the user confirms them (one undoable step), leaves them empty, or stops.
class SuggestionPrompt
{
public:
    // True to go on; on yes the lines' suggestions are confirmed first.
    static bool Confirm(CCorvaneDoc& doc, Prompts& prompts,
                        const std::vector<const EntryInfo*>& unconfirmed, const QString& action);
    // The question, for action "保存" or "印刷".
    static QString Question(std::size_t count, const QString& action);
};
