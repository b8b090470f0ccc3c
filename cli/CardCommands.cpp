#include "CardCommands.h"

#include "BlockDecodeError.h"
#include "CCorvaneDoc.h"
#include "CardDetector.h"
#include "CardIdentity.h"
#include "CardImage.h"
#include "CardImport.h"
#include "CardReadCommand.h"
#include "CardReader.h"
#include "ClaimRules.h"
#include "CliContext.h"
#include "Console.h"
#include "Folders.h"
#include "LineJson.h"
#include "LineTable.h"
#include "PdfExport.h"
#include "ReaderChoice.h"
#include "TerminalReadFrontEnd.h"
#include "TextFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace
{
QString OtherCardText(const QString& card)
{
    return card + QStringLiteral("この交通費情報に追加するには --other-card を指定してください。");
}

// Answers the question about another card as the command line was told,
// keeping the card's description for the refusal.
OtherCardQuestion Answer(bool otherCard, const AppSettings& settings, QString& described)
{
    return [otherCard, &settings, &described](const OtherCard& card) {
        described = card.Description(settings.CardNameOf(CardIdHex(card.idm)));
        return otherCard;
    };
}

struct Imported {
    QString idm;
    std::int32_t balance = -1;
    std::vector<const EntryInfo*> added;
    int visitsSuggested = 0;
};

// Names the stations and appends the new lines; false (reason printed) when a
// record cannot be decoded, the claim then as it was.
bool Import(CCorvaneDoc& doc, const CardInfo& card, const HistoryBlocks& blocks,
            CliContext& context, bool otherCard, Imported& result)
{
    ConsoleReporter reporter;
    QString described;
    try {
        const CardImport imported =
            ImportCard(doc, card, blocks, context.connectString, context.settings, reporter,
                       Answer(otherCard, context.settings, described));
        if (imported.declined) {
            Console::Fail(OtherCardText(described));
            return false;
        }
        result.balance = imported.balance;
        result.added = imported.added;
        result.visitsSuggested = imported.visitsSuggested;
    } catch (const BlockDecodeError& e) {
        Console::Fail(CardReadCommand::DecodeFailedText(QString::fromUtf8(e.what())));
        return false;
    }
    result.idm = FormatIdm(card.idm);
    return true;
}

void Report(CCorvaneDoc& doc, const Imported& result, bool json)
{
    if (json) {
        const auto applied = [&doc](const EntryInfo& line) {
            return doc.AppliedOn(line).has_value();
        };
        QJsonObject object{{QStringLiteral("idm"), result.idm},
                           {QStringLiteral("balance"), result.balance},
                           {QStringLiteral("lines"), LinesToJson(result.added, applied)}};
        Console::Out(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)));
        return;
    }
    Console::Out(QStringLiteral("IDm: %1\n").arg(result.idm));
    Console::Out(
        QStringLiteral("残高: %1\n")
            .arg(result.balance < 0 ? QString() : FormatAmount(result.balance).trimmed() + "円"));
    Console::Out(QStringLiteral("追加した明細: %1件\n").arg(result.added.size()));
    if (result.visitsSuggested > 0)
        Console::Out(CardImport::VisitsSuggestedText(result.visitsSuggested) + QLatin1Char('\n'));
    LineTable table;
    for (const EntryInfo* line : result.added)
        table.Add(*line);
    if (!result.added.empty())
        Console::Out(table.Text());
}

// Saves a claim that is new or gained lines; a claim without lines stays unsaved.
bool SaveIfChanged(CCorvaneDoc& doc, const QString& path, bool changed)
{
    if (!changed)
        return true;
    if (doc.Data().lines.empty()) {
        Console::Err(QStringLiteral("fenwir-cli: 明細がないため %1 は保存しません。\n").arg(path));
        return true;
    }
    QString error;
    if (!doc.Save(path, &error)) {
        Console::Fail(error);
        return false;
    }
    return true;
}

// Reads a card through the chosen reader into the claim; the failures are
// already told when it returns without an import.
CardReadCommand::Result ReadThrough(const QString& reader, int pollingTime, CCorvaneDoc& doc,
                                    CliContext& context, bool otherCard, QString& described)
{
    ReaderChoice choice(reader);
    AppSettings settings = context.settings;
    settings.PollingTime = pollingTime;
    CardReadCommand command(doc, settings, context.connectString, choice.Environment());
    // A reader found in reading mode is left as it was found: resting.
    command.SetRestReaderAfterRead(!choice.Simulated());
    command.SetOtherCardQuestion(Answer(otherCard, context.settings, described));
    TerminalReadFrontEnd frontEnd;
    ConsoleReporter reporter;
    return command.Run(frontEnd, reporter);
}

void Collect(const CardReadCommand::Result& read, Imported& result)
{
    result.idm = read.idm;
    result.balance = read.balance;
    result.added = read.added;
}

// The end of read and import-dump: save, say what was added.
int SaveAndReport(CCorvaneDoc& doc, const QString& path, bool existed, const Imported& imported,
                  const CommandLine& line)
{
    if (!SaveIfChanged(doc, path, !existed || !imported.added.empty()))
        return Console::kFailed;
    Report(doc, imported, line.Flag(QStringLiteral("--json")));
    return Console::kOk;
}

// import-dump: import, then the same end.
int ImportAndSave(const CardInfo& card, const HistoryBlocks& blocks, CCorvaneDoc& doc,
                  const QString& path, bool existed, const CommandLine& line, CliContext& context)
{
    Imported imported;
    if (!Import(doc, card, blocks, context, line.Flag(QStringLiteral("--other-card")), imported))
        return Console::kFailed;
    return SaveAndReport(doc, path, existed, imported, line);
}

} // namespace

int CardCommands::Read(const CommandLine& line, CliContext& context)
{
    if (line.Positionals().size() != 1)
        return Console::kUsage;
    const QString path = line.Positionals()[0];
    const QString reader = line.Option(QStringLiteral("--reader")).value_or(QStringLiteral("auto"));
    if (!ReaderChoice::IsValid(reader))
        return Console::kUsage;
    int pollingTime = context.settings.PollingTime;
    if (const auto seconds = line.Option(QStringLiteral("--polling-time"))) {
        bool ok = false;
        pollingTime = seconds->toInt(&ok);
        if (!ok)
            return Console::kUsage;
    }
    if (reader.startsWith(QLatin1String("image:")) && !QFileInfo::exists(reader.mid(6)))
        return Console::Fail(QStringLiteral("ファイル %1 が見つかりません。").arg(reader.mid(6)));

    CCorvaneDoc doc(context.settings);
    const bool existed = QFileInfo::exists(path);
    if (!context.OpenDocument(doc, path, true))
        return Console::kFailed;
    QString described;
    const CardReadCommand::Result read = ReadThrough(
        reader, pollingTime, doc, context, line.Flag(QStringLiteral("--other-card")), described);
    if (read.declined)
        return Console::Fail(OtherCardText(described));
    if (!read.imported)
        return Console::kFailed;
    Imported imported;
    Collect(read, imported);
    return SaveAndReport(doc, path, existed, imported, line);
}

int CardCommands::ImportDump(const CommandLine& line, CliContext& context)
{
    if (line.Positionals().size() != 2)
        return Console::kUsage;
    const QString imagePath = line.Positionals()[0];
    const QString path = line.Positionals()[1];
    QString error;
    const auto image = CardImage::Load(imagePath, &error);
    if (!image)
        return Console::Fail(error);

    CCorvaneDoc doc(context.settings);
    const bool existed = QFileInfo::exists(path);
    if (!context.OpenDocument(doc, path, true))
        return Console::kFailed;
    HistoryBlocks blocks;
    // As a reader would deliver them: at most 20, up to the first empty record.
    for (const HistoryBlock& block : image->history) {
        if (blocks.size() == CardDetector::kMaxBlocks || (block[0] == 0 && block[1] == 0))
            break;
        blocks.push_back(block);
    }
    return ImportAndSave(CardInfo{CardInfo::kRead, image->idm, image->pmm}, blocks, doc, path,
                         existed, line, context);
}

int CardCommands::Demo(const CommandLine& line, CliContext& context)
{
    const QString folder =
        QDir(line.Option(QStringLiteral("--out")).value_or(QStringLiteral("."))).absolutePath();
    if (!QDir().mkpath(folder))
        return Console::Fail(QStringLiteral("フォルダ %1 を作成できません。").arg(folder));
    const QString entPath = JoinPath(folder, QStringLiteral("demo-claim.ent"));
    const QString csvPath = JoinPath(folder, QStringLiteral("demo-claim.csv"));
    const QString pdfPath = JoinPath(folder, QStringLiteral("demo-claim.pdf"));

    Console::Out(QStringLiteral("デモ: 模擬カードリーダーでデモカードを読み込みます。\n"));
    CCorvaneDoc doc(context.settings);
    doc.NewDocument();
    const EntryList& data = doc.Data();
    QString described;
    const CardReadCommand::Result read =
        ReadThrough(QStringLiteral("demo"), 0, doc, context, false, described);
    if (!read.imported)
        return Console::kFailed;
    Imported imported;
    Collect(read, imported);
    QString error;
    if (!doc.Save(entPath, &error))
        return Console::Fail(error);
    if (!data.WriteCsv(context.settings, csvPath))
        return Console::Fail(
            QStringLiteral("CSVファイル %1 を保存できませんでした。").arg(csvPath));
    int pages = 0;
    if (!RenderClaimToPdf(
            doc.Layout(), ClaimedLines(data.lines),
            {context.settings.PostName, context.settings.IdNumber, context.settings.Name},
            QDateTime::currentDateTime(), ClaimFilter{}, pdfPath, &pages, &error))
        return Console::Fail(error);

    Report(doc, imported, false);
    Console::Out(
        QStringLiteral("申請合計: %1円\n").arg(FormatAmount(data.ClaimedTotal()).trimmed()));
    Console::Out(QStringLiteral("交通費ファイル: %1\nCSVファイル: %2\nPDF (%3ページ): %4\n")
                     .arg(entPath, csvPath)
                     .arg(pages)
                     .arg(pdfPath));
    return Console::kOk;
}
