#pragma once

#include "CardImport.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

class AppSettings;
class CCorvaneDoc;
class CardReadFrontEnd;
class MessageReporter;
struct EntryInfo;
struct ReaderEnvironment;

// The read command, the same for the desktop program and the command line:
// select and read a reader, import the history with station names into the
// document as one undoable step, keep the status panes
// informed and tell the user of every failure. A read that fails in any way
// leaves the document's lines, card and history rows as they were.
class CardReadCommand
{
public:
    struct Result {
        int readerResult = 0;  // 0, or the reader's -1, -2, -3, -5
        bool imported = false; // the card was read and its history merged
        bool declined = false; // another card's history, not added
        QString idm;           // 16 hex digits
        std::int32_t balance = -1;
        std::vector<const EntryInfo*> added; // the new lines, in the claim
        CardId card{};
        // Other IDs under which the claim knows this card.
        std::vector<CardId> knownAs;
        // New claimed trips given a suggested visit destination.
        int visitsSuggested = 0;
        // Lines of the claim whose unknown fare this read gave.
        int faresCompleted = 0;
    };

    CardReadCommand(CCorvaneDoc& doc, const AppSettings& settings, QString connectString,
                    ReaderEnvironment& environment);

    // Puts the reader back into resting mode when the read ends, for callers
    // that did not prepare it themselves (the command line).
    void SetRestReaderAfterRead(bool rest) { m_restAfter = rest; }
    // Asked before another card's history joins the claim; without one it
    // never does.
    void SetOtherCardQuestion(OtherCardQuestion question) { m_otherCard = std::move(question); }

    Result Run(CardReadFrontEnd& frontEnd, MessageReporter& messages);

    static QString ReadingText() { return QStringLiteral("カード読込中…"); }
    static QString DecodeFailedText(const QString& detail);

private:
    Result Read(CardReadFrontEnd& frontEnd, MessageReporter& messages);

    CCorvaneDoc& m_doc;
    const AppSettings& m_settings;
    QString m_connectString;
    ReaderEnvironment& m_environment;
    bool m_restAfter = false;
    OtherCardQuestion m_otherCard;
};
