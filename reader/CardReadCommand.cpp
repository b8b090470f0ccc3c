#include "CardReadCommand.h"

#include "AppSettings.h"
#include "BlockDecodeError.h"
#include "CCorvaneDoc.h"
#include "CardReadFrontEnd.h"
#include "CardReadJob.h"
#include "CardReader.h"
#include "ImportHistory.h"
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

    EntryList& data = m_doc.Data();
    // The read fills its own card record; the document's is replaced only
    // when the history has been imported.
    CardInfo card = data.card;
    CardReadJob job(data.lines, data.historyRows, card);
    Result result;
    result.firstAdded = data.lines.size();
    result.readerResult = ReadCard(job, m_settings.PollingTime, m_environment,
                                   m_settings.PollingTime > 0 ? frontEnd.WaitDialog() : nullptr);
    if (result.readerResult != kReaderReady) {
        restorePanes();
        if (const int id = ReaderMessageId(result.readerResult))
            messages.Report(id, ReaderMessageText(result.readerResult),
                            MessageReporter::Icon::Stop);
        return result;
    }

    frontEnd.CardWasRead();
    try {
        result.balance =
            ImportHistory(job, m_connectString, m_settings.dbPassword, m_settings, messages);
    } catch (const BlockDecodeError& e) {
        restorePanes();
        messages.Report(0, DecodeFailedText(QString::fromUtf8(e.what())),
                        MessageReporter::Icon::Stop);
        return result;
    }
    data.card = card;
    result.imported = true;
    result.idm = FormatIdm(card.idm);
    result.added = data.lines.size() - result.firstAdded;
    if (result.added > 0)
        m_doc.SetModified(true);
    frontEnd.ShowCardStatus(result.idm, result.balance);
    return result;
}
