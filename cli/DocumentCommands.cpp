#include "DocumentCommands.h"

#include "CCorvaneDoc.h"
#include "ClaimRules.h"
#include "CliContext.h"
#include "Console.h"
#include "LineJson.h"
#include "LineTable.h"
#include "PdfExport.h"
#include "PeriodOption.h"
#include "PrintFormat.h"
#include "PrintedClaim.h"
#include "TextFormat.h"

#include <QJsonDocument>
#include <algorithm>

int DocumentCommands::Show(const CommandLine& line, CliContext& context)
{
    const auto period = PeriodOption(line);
    if (line.Positionals().size() != 1 || !period)
        return Console::kUsage;
    CCorvaneDoc doc(context.settings);
    if (!context.OpenDocument(doc, line.Positionals()[0], false))
        return Console::kFailed;
    // Every line of the period, hidden ones too: this is the claim's content.
    std::vector<const EntryInfo*> lines;
    for (const auto& entry : doc.Lines())
        if (entry->dateTime >= period->from && entry->dateTime < period->until)
            lines.push_back(entry.get());
    if (line.Flag(QStringLiteral("--json"))) {
        const auto applied = [&doc](const EntryInfo& entry) {
            return doc.AppliedOn(entry).has_value();
        };
        const QJsonObject object{{QStringLiteral("lines"), LinesToJson(lines, applied)}};
        Console::Out(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)));
        return Console::kOk;
    }
    LineTable table;
    for (const EntryInfo* entry : lines)
        table.Add(*entry);
    Console::Out(table.Text());
    const std::int64_t total = ClaimedTotal(ClaimedLines(doc.Lines(), *period));
    Console::Out(QStringLiteral("申請合計: %1円\n").arg(FormatAmount(total).trimmed()));
    return Console::kOk;
}

namespace
{
// Each returns the reason when the option's value is none of its choices.
QString TakeProfile(const CommandLine& line, AppSettings& choices)
{
    const auto profile = line.Option(QStringLiteral("--profile"));
    if (!profile)
        return QString();
    if (profile->compare(QLatin1String("history"), Qt::CaseInsensitive) == 0)
        choices.CsvProfile = AppSettings::kCsvHistory;
    else if (profile->compare(QLatin1String("columns"), Qt::CaseInsensitive) == 0)
        choices.CsvProfile = AppSettings::kCsvColumns;
    else
        return QStringLiteral("--profile には columns か history を指定してください。");
    return QString();
}

QString TakeEncoding(const CommandLine& line, AppSettings& choices)
{
    const auto encoding = line.Option(QStringLiteral("--encoding"));
    if (!encoding)
        return QString();
    if (encoding->compare(QLatin1String("cp932"), Qt::CaseInsensitive) == 0)
        choices.CsvEncoding = AppSettings::kCsvShiftJis;
    else if (encoding->compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0)
        choices.CsvEncoding = AppSettings::kCsvUtf8;
    else
        return QStringLiteral("--encoding には cp932 か utf-8 を指定してください。");
    // The card history layout is Shift-JIS for the services that import it.
    if (choices.CsvEncoding == AppSettings::kCsvUtf8 &&
        choices.CsvProfile == AppSettings::kCsvHistory)
        return QStringLiteral("カード履歴は Shift-JIS (cp932) でのみ保存できます。");
    return QString();
}

// The command line's CSV choices over the user's; a reason, or empty.
QString TakeCsvChoices(const CommandLine& line, AppSettings& choices)
{
    if (const auto items = line.Option(QStringLiteral("--items")))
        choices.CsvOutputItem = *items;
    if (line.Flag(QStringLiteral("--apply-only")))
        choices.CsvApplyOnly = 1;
    if (line.Flag(QStringLiteral("--no-header")))
        choices.CsvOutputHeader = 0;
    if (line.Flag(QStringLiteral("--show-card-id")))
        choices.CsvShowCardId = 1;
    const QString reason = TakeProfile(line, choices);
    return reason.isEmpty() ? TakeEncoding(line, choices) : reason;
}
} // namespace

int DocumentCommands::Csv(const CommandLine& line, CliContext& context)
{
    const auto period = PeriodOption(line);
    if (line.Positionals().size() != 2 || !period)
        return Console::kUsage;
    AppSettings choices = context.settings;
    if (const QString reason = TakeCsvChoices(line, choices); !reason.isEmpty()) {
        Console::Err(QStringLiteral("fenwir-cli: %1\n").arg(reason));
        return Console::kUsage;
    }
    CCorvaneDoc doc(context.settings);
    if (!context.OpenDocument(doc, line.Positionals()[0], false))
        return Console::kFailed;
    const QString out = line.Positionals()[1];
    bool replaced = false;
    if (!doc.Data().WriteCsv(choices, out, &replaced, *period))
        return Console::Fail(QStringLiteral("CSVファイル %1 を保存できませんでした。").arg(out));
    if (const auto left = doc.Data().UnconfirmedVisitsInCsv(choices, *period); !left.empty())
        Console::Err(
            QStringLiteral("fenwir-cli: %1\n").arg(EntryList::UnconfirmedVisitsText(left.size())));
    if (replaced)
        Console::Err(QStringLiteral("fenwir-cli: Shift-JIS で表せない文字を「?」にしました。\n"));
    return Console::kOk;
}

int DocumentCommands::Print(const CommandLine& line, CliContext& context)
{
    const auto pdf = line.Option(QStringLiteral("--pdf"));
    const auto period = PeriodOption(line);
    if (!pdf || line.Positionals().size() != 1 || !period)
        return Console::kUsage;
    const QString path = line.Positionals()[0];
    CCorvaneDoc doc(context.settings);
    if (!context.OpenDocument(doc, path, false))
        return Console::kFailed;
    PrintFormat layout;
    if (const auto file = line.Option(QStringLiteral("--layout"))) {
        if (!layout.ReadFile(*file))
            return Console::Fail(
                QStringLiteral("印刷レイアウト %1 を読み込めませんでした。").arg(*file));
    } else {
        layout.Load(context.settings.FormatFilePath);
    }
    // The claim the desktop list would print: its apply rule, every line of
    // the period shown.
    const std::vector<const EntryInfo*> claimed = ClaimedLines(doc.Lines(), *period);
    const bool record = line.Flag(QStringLiteral("--record"));
    // As the desktop program offers no print while nothing is ticked.
    if (record && claimed.empty())
        return Console::Fail(QStringLiteral("申請する明細がありません。"));
    if (record && doc.IsRecordedApplication())
        return Console::Fail(CCorvaneDoc::SnapshotProtectedMessage());
    // Nothing is printed that could not be recorded.
    if (const QString problem = record ? doc.WhyNotRecordable() : QString(); !problem.isEmpty())
        return Console::Fail(problem);
    // A copy of a claim printed before is not a new claim unless asked.
    if (record && !line.Flag(QStringLiteral("--reclaim"))) {
        const AppliedLines::Claimed before = doc.ClaimedBefore(claimed);
        if (before.lines > 0) {
            QStringList days;
            for (const QDate& day : before.days)
                days << day.toString(QStringLiteral("yyyy/MM/dd"));
            return Console::Fail(
                QStringLiteral("申請済みの明細が %1 件含まれています（%2 に申請）。"
                               "もう一度申請するときは --reclaim を付けてください。")
                    .arg(before.lines)
                    .arg(days.join(QStringLiteral("、"))));
        }
    }
    const AppSettings& s = context.settings;
    QString error;
    int pages = 0;
    // A claim to be recorded shows the number it will have.
    const QDateTime now = QDateTime::currentDateTime();
    ApplyRecord stamp;
    stamp.paper = {{s.PostName, s.IdNumber, s.Name}, period->from, period->until};
    if (record) {
        stamp.id = doc.History().NextId();
        stamp.printed = now.toSecsSinceEpoch();
    }
    if (!RenderClaimToPdf(layout, claimed, stamp.paper.claimant, now, *period, *pdf, &pages, &error,
                          stamp.id))
        return Console::Fail(error);
    Console::Out(QStringLiteral("%1 (%2ページ)\n").arg(*pdf).arg(pages));
    const auto suggested = std::count_if(claimed.begin(), claimed.end(),
                                         [](const EntryInfo* l) { return l->visitSuggested; });
    if (suggested > 0)
        Console::Err(QStringLiteral("fenwir-cli: %1\n")
                         .arg(EntryList::UnconfirmedVisitsText(std::size_t(suggested))));
    if (!record)
        return Console::kOk;

    // What a real print does afterwards: the history, the marks, the file.
    const PrintedClaim printed = RecordPrintedClaim(
        doc, claimed, [&] { return doc.Save(path, &error); }, stamp);
    if (!printed.recorded)
        return Console::Fail(printed.NotRecordedText());
    if (!printed.saved)
        return Console::Fail(error);
    Console::Out(printed.StatusText() + QLatin1Char('\n'));
    return Console::kOk;
}
