#include "CardReadCommand.h"

#include "AppSettings.h"
#include "BlockDecodeError.h"
#include "CCorvaneDoc.h"
#include "CardImport.h"
#include "CardReadFrontEnd.h"
#include "CardReadJob.h"
#include "CardReader.h"
#include "MessageReporter.h"
#include "ReaderSelection.h"

CardReadCommand::CardReadCommand(CCorvaneDoc& doc, const AppSettings& settings,
                                 QString connectString, ReaderEnvironment& environment)
    : m_doc(doc), m_settings(settings), m_connectString(std::move(connectString)),
      m_environment(environment)
{
}

QString CardReadCommand::DecodeFailedText(const QString& detail)
{
    return QStringLiteral("カードの履歴を読み取れませんでした。(%1)").arg(detail);
}

CardReadCommand::Result CardReadCommand::Run(CardReadFrontEnd& frontEnd, MessageReporter& messages)
{
    Result result = Read(frontEnd, messages);
    if (m_restAfter)
        RestReader(m_environment);
    return result;
}

CardReadCommand::Result CardReadCommand::Read(CardReadFrontEnd& frontEnd, MessageReporter& messages)
{
    const std::pair<QString, QString> saved = frontEnd.CardPaneTexts();
    const auto restorePanes = [&] {
        frontEnd.ShowCardStatus(QString(), -1);
        frontEnd.SetCardPaneTexts(saved.first, saved.second);
    };
    frontEnd.ShowCardStatus(ReadingText(), -1);

    // The read fills its own card record and blocks; the document takes them
    // only when the history has been imported.
    CardInfo card = m_doc.Data().card;
    EntryLines unused;
    std::vector<CardHistoryRow> rows;
    CardReadJob job(m_doc.Lines(), unused, rows, card);
    Result result;
    result.readerResult = ReadCard(job, m_settings.PollingTime, m_environment,
                                   m_settings.PollingTime > 0 ? frontEnd.WaitDialog() : nullptr);
    if (result.readerResult != kReaderReady) {
        restorePanes();
        if (const int id = ReaderMessageId(result.readerResult))
            messages.ReportWithDetails(id, ReaderMessageText(result.readerResult),
                                       ReaderMessageDetails(result.readerResult),
                                       MessageReporter::Icon::Stop);
        return result;
    }

    frontEnd.CardWasRead();
    try {
        const CardImport imported = ImportCard(m_doc, card, job.Blocks(), m_connectString,
                                               m_settings, messages, m_otherCard);
        if (imported.declined) {
            restorePanes();
            result.declined = true;
            return result;
        }
        result.balance = imported.balance;
        result.added = imported.added;
        result.knownAs = imported.knownAs;
        result.visitsSuggested = imported.visitsSuggested;
        result.faresCompleted = imported.faresCompleted;
    } catch (const BlockDecodeError& e) {
        restorePanes();
        messages.Report(0, DecodeFailedText(QString::fromUtf8(e.what())),
                        MessageReporter::Icon::Stop);
        return result;
    }
    result.imported = true;
    result.card = card.idm;
    result.idm = FormatIdm(card.idm);
    frontEnd.ShowCardStatus(result.idm, result.balance);
    return result;
}
