#include "ApplicationCommands.h"

#include "ApplicationArchive.h"
#include "ApplicationSearch.h"
#include "CCorvaneDoc.h"
#include "ClaimPeriod.h"
#include "CliContext.h"
#include "CommandLine.h"
#include "Console.h"
#include "PeriodOption.h"
#include "PrintFormat.h"
#include "TextFormat.h"
#include "TextTable.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{
constexpr qsizetype kReasonLimit = 100;

QJsonValue IsoDate(const QDate& day)
{
    return day.isValid() ? QJsonValue(day.toString(Qt::ISODate)) : QJsonValue();
}

QJsonValue Text(const QString& text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QString Day(const QDate& day)
{
    return day.isValid() ? day.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QString Period(const AppliedLines::Application& application)
{
    if (!application.from.isValid())
        return QStringLiteral("不明");
    return QStringLiteral("%1～%2").arg(Day(application.from), Day(application.to));
}

QString LineCount(int count)
{
    return count < 0 ? QStringLiteral("不明") : QString::number(count);
}

QString CheckText(const AppliedLines::Application& application)
{
    switch (application.check) {
    case AppliedLines::Check::Good:
        return QStringLiteral("一致");
    case AppliedLines::Check::NotRecorded:
        return QStringLiteral("記録なし");
    default:
        return application.checkDetail;
    }
}

QJsonObject Json(const AppliedLines::Application& application, int number)
{
    return QJsonObject{
        {QStringLiteral("number"), number},
        {QStringLiteral("id"), application.id},
        {QStringLiteral("printed"), application.printed.toString(Qt::ISODate)},
        {QStringLiteral("amount"), application.amount},
        {QStringLiteral("lines"),
         application.lineCount < 0 ? QJsonValue() : QJsonValue(application.lineCount)},
        {QStringLiteral("from"), IsoDate(application.from)},
        {QStringLiteral("to"), IsoDate(application.to)},
        {QStringLiteral("cancelled"), IsoDate(application.cancelled)},
        {QStringLiteral("cancelReason"),
         application.cancelled.isValid() ? QJsonValue(application.cancelReason) : QJsonValue()},
        {QStringLiteral("user"), Text(application.printedBy.user)},
        {QStringLiteral("host"), Text(application.printedBy.host)},
        {QStringLiteral("sha256"), Text(application.sha256)},
        {QStringLiteral("verified"), CheckText(application)},
    };
}

// The search the options ask for; nothing when one of them is not understood.
std::optional<ApplicationSearch> SearchOption(const CommandLine& line)
{
    const auto period = PeriodOption(line);
    if (!period)
        return std::nullopt;
    ApplicationSearch search;
    search.from = period->from;
    search.until = period->until;
    for (const auto& [name, bound] : {std::pair{QStringLiteral("--min"), &search.minAmount},
                                      std::pair{QStringLiteral("--max"), &search.maxAmount}}) {
        if (const auto value = line.Option(name)) {
            bool ok = false;
            *bound = value->toLongLong(&ok);
            if (!ok)
                return std::nullopt;
        }
    }
    search.text = line.Option(QStringLiteral("--text")).value_or(QString());
    return search;
}

int List(CCorvaneDoc& doc, const ApplicationSearch& search, bool json)
{
    const auto all = doc.Applications();
    const auto applications = search.Filter(all);
    const auto summary = ApplicationSearch::Summarize(applications);
    // What could be read is listed; what could not is said, and fails.
    const QString problem = doc.HistoryProblem();
    const int status = problem.isEmpty() ? Console::kOk : Console::kFailed;
    if (!problem.isEmpty())
        Console::Err(QStringLiteral("fenwir-cli: %1\n").arg(problem));
    if (json) {
        QJsonArray list;
        for (const auto& application : applications) {
            const auto at = std::find_if(all.begin(), all.end(), [&](const auto& a) {
                return a.record == application.record;
            });
            list.append(Json(application, static_cast<int>(at - all.begin()) + 1));
        }
        const QJsonObject object{{QStringLiteral("applications"), list},
                                 {QStringLiteral("count"), static_cast<int>(summary.count)},
                                 {QStringLiteral("total"), static_cast<qint64>(summary.total)}};
        Console::Out(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)));
        return status;
    }
    if (all.empty()) {
        Console::Out(problem.isEmpty() ? QStringLiteral("記録された申請はありません。\n")
                                       : QStringLiteral("読めた申請はありません。\n"));
        return status;
    }
    TextTable table({QStringLiteral("番号"), QStringLiteral("申請番号"), QStringLiteral("印刷日時"),
                     QStringLiteral("金額"), QStringLiteral("件数"), QStringLiteral("利用期間"),
                     QStringLiteral("取消"), QStringLiteral("取消理由")},
                    {0, 3, 4});
    for (const auto& application : applications) {
        const auto at = std::find_if(all.begin(), all.end(),
                                     [&](const auto& a) { return a.record == application.record; });
        QString reason = application.cancelReason;
        reason.replace(QLatin1Char('\n'), QLatin1Char(' '));
        table.Add({QString::number(at - all.begin() + 1), application.id,
                   application.printed.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                   FormatYen(application.amount) + QStringLiteral("円"),
                   LineCount(application.lineCount), Period(application),
                   Day(application.cancelled), reason});
    }
    Console::Out(table.Text());
    Console::Out(ApplicationSearch::SummaryText(summary) + QLatin1Char('\n'));
    return status;
}

// An application by its number ("A00012"), or by its place in the list
// (1 the newest).
const AppliedLines::Application* Find(const std::vector<AppliedLines::Application>& applications,
                                      const QString& which)
{
    for (const auto& application : applications)
        if (application.id.compare(which, Qt::CaseInsensitive) == 0)
            return &application;
    bool ok = false;
    const int place = which.toInt(&ok);
    if (!ok || place < 1 || place > static_cast<int>(applications.size()))
        return nullptr;
    return &applications[static_cast<std::size_t>(place - 1)];
}

int Cancel(CCorvaneDoc& doc, const QString& which, const QString& reason)
{
    if (reason.trimmed().isEmpty())
        return Console::Fail(QStringLiteral("取消の理由を --reason で指定してください。"));
    if (reason.toUcs4().size() > kReasonLimit)
        return Console::Fail(QStringLiteral("取消の理由は %1 文字までです（%2 文字あります）。")
                                 .arg(kReasonLimit)
                                 .arg(reason.toUcs4().size()));
    const auto applications = doc.Applications();
    const AppliedLines::Application* found = Find(applications, which);
    if (!found)
        return Console::Fail(
            QStringLiteral(
                "申請 %1 はありません（申請番号、または 1～%2 の番号を指定してください）。")
                .arg(which)
                .arg(applications.size()));
    const AppliedLines::Application application = *found;
    QString error;
    if (!doc.CancelApplication(application, reason, &error))
        return Console::Fail(error);
    Console::Out(QStringLiteral("申請を取り消しました: %1 %2 印刷 %3円\n")
                     .arg(application.id,
                          application.printed.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                          FormatYen(application.amount)));
    // The print service is the desktop program's: the job is not withdrawn here.
    const ApplyRecord::PrintJob& job = application.printJob;
    if (job.id != 0)
        Console::Err(
            QStringLiteral("fenwir-cli: この申請の印刷ジョブ（プリンター %1 のジョブ %2）"
                           "がまだ印刷されていなければ、印刷キューから削除してください。\n")
                .arg(job.printer)
                .arg(job.id));
    return Console::kOk;
}

int Verify(CCorvaneDoc& doc)
{
    const auto applications = doc.Applications();
    const QString problem = doc.HistoryProblem();
    if (!problem.isEmpty())
        Console::Err(QStringLiteral("fenwir-cli: %1\n").arg(problem));
    TextTable table({QStringLiteral("申請番号"), QStringLiteral("印刷日時"), QStringLiteral("金額"),
                     QStringLiteral("検証")},
                    {2});
    int failures = 0;
    for (const auto& application : applications) {
        failures += application.Fails() ? 1 : 0;
        table.Add({application.id, application.printed.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                   FormatYen(application.amount) + QStringLiteral("円"), CheckText(application)});
    }
    if (!applications.empty())
        Console::Out(table.Text());
    if (failures > 0) {
        Console::Err(
            QStringLiteral("fenwir-cli: 申請 %1 件が記録と一致しません。\n").arg(failures));
        return Console::kFailed;
    }
    Console::Out(QStringLiteral("申請 %1 件を検証しました。記録と違うものはありません。\n")
                     .arg(applications.size()));
    return problem.isEmpty() ? Console::kOk : Console::kFailed;
}

int Export(CCorvaneDoc& doc, CliContext& context, const QString& folder,
           const ApplicationSearch& search)
{
    const auto applications = search.Filter(doc.Applications());
    PrintFormat layout;
    layout.Load(context.settings.FormatFilePath);
    // A folder named on the command line is made, as an archive's new folder
    // usually is; one that cannot be made is reported by the export.
    QDir().mkpath(folder);
    const ApplicationArchive::Report report =
        ApplicationArchive::Export(applications, layout, folder);
    for (const QString& path : report.written)
        Console::Out(path + QLatin1Char('\n'));
    for (const QString& note : report.notes)
        Console::Err(QStringLiteral("fenwir-cli: %1\n").arg(note));
    if (report.failed)
        return Console::Fail(QStringLiteral("書き出せなかったファイルがあります。"));
    Console::Out(QStringLiteral("申請 %1 件を書き出しました（新しいファイル %2、"
                                "同じ内容で既にあったファイル %3）。\n")
                     .arg(applications.size())
                     .arg(report.written.size())
                     .arg(report.unchanged.size()));
    return Console::kOk;
}

int Repair(CCorvaneDoc& doc)
{
    QString report;
    if (!doc.RepairHistory(&report))
        return Console::Fail(report);
    Console::Out(report + QLatin1Char('\n'));
    return Console::kOk;
}
} // namespace

int ApplicationCommands::Applications(const CommandLine& line, CliContext& context)
{
    const auto cancel = line.Option(QStringLiteral("--cancel"));
    const auto reason = line.Option(QStringLiteral("--reason"));
    const auto exportTo = line.Option(QStringLiteral("--export"));
    const bool json = line.Flag(QStringLiteral("--json"));
    const bool repair = line.Flag(QStringLiteral("--repair"));
    const bool verify = line.Flag(QStringLiteral("--verify"));
    const bool searching =
        line.Option(QStringLiteral("--from")) || line.Option(QStringLiteral("--to")) ||
        line.Option(QStringLiteral("--month")) || line.Option(QStringLiteral("--min")) ||
        line.Option(QStringLiteral("--max")) || line.Option(QStringLiteral("--text"));
    const auto search = SearchOption(line);
    const int actions =
        int(cancel.has_value()) + int(repair) + int(verify) + int(exportTo.has_value());
    if (!line.Positionals().isEmpty() || !search || actions > 1 || (actions == 1 && json) ||
        (reason && !cancel) || (searching && (cancel || repair || verify)))
        return Console::kUsage;
    CCorvaneDoc doc(context.settings);
    if (repair)
        return Repair(doc);
    if (verify)
        return Verify(doc);
    if (exportTo)
        return Export(doc, context, *exportTo, *search);
    return cancel ? Cancel(doc, *cancel, reason.value_or(QString())) : List(doc, *search, json);
}
