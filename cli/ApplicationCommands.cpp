#include "ApplicationCommands.h"

#include "CCorvaneDoc.h"
#include "CliContext.h"
#include "CommandLine.h"
#include "Console.h"
#include "TextFormat.h"
#include "TextTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{
QJsonValue IsoDate(const QDate& day)
{
    return day.isValid() ? QJsonValue(day.toString(Qt::ISODate)) : QJsonValue();
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

int List(CCorvaneDoc& doc, bool json)
{
    const auto applications = doc.Applications();
    // What could be read is listed; what could not is said, and fails.
    const QString problem = doc.HistoryProblem();
    const int status = problem.isEmpty() ? Console::kOk : Console::kFailed;
    if (!problem.isEmpty())
        Console::Err(QStringLiteral("fenwir-cli: %1\n").arg(problem));
    if (json) {
        QJsonArray list;
        int number = 0;
        for (const auto& application : applications) {
            list.append(QJsonObject{
                {QStringLiteral("number"), ++number},
                {QStringLiteral("printed"), application.printed.toString(Qt::ISODate)},
                {QStringLiteral("amount"), application.amount},
                {QStringLiteral("lines"),
                 application.lineCount < 0 ? QJsonValue() : QJsonValue(application.lineCount)},
                {QStringLiteral("from"), IsoDate(application.from)},
                {QStringLiteral("to"), IsoDate(application.to)},
                {QStringLiteral("cancelled"), IsoDate(application.cancelled)},
            });
        }
        const QJsonObject object{{QStringLiteral("applications"), list}};
        Console::Out(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)));
        return status;
    }
    if (applications.empty()) {
        Console::Out(problem.isEmpty() ? QStringLiteral("記録された申請はありません。\n")
                                       : QStringLiteral("読めた申請はありません。\n"));
        return status;
    }
    TextTable table({QStringLiteral("番号"), QStringLiteral("印刷日時"), QStringLiteral("金額"),
                     QStringLiteral("件数"), QStringLiteral("利用期間"), QStringLiteral("取消")},
                    {0, 2, 3});
    int number = 0;
    for (const auto& application : applications)
        table.Add({QString::number(++number),
                   application.printed.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                   FormatYen(application.amount) + QStringLiteral("円"),
                   LineCount(application.lineCount), Period(application),
                   Day(application.cancelled)});
    Console::Out(table.Text());
    return status;
}

int Cancel(CCorvaneDoc& doc, const QString& which)
{
    bool ok = false;
    const int number = which.toInt(&ok);
    const auto applications = doc.Applications();
    if (!ok || number < 1 || number > static_cast<int>(applications.size()))
        return Console::Fail(
            QStringLiteral("申請 %1 はありません（1～%2 の番号を指定してください）。")
                .arg(which)
                .arg(applications.size()));
    const AppliedLines::Application& application =
        applications[static_cast<std::size_t>(number - 1)];
    QString error;
    if (!doc.CancelApplication(application, &error))
        return Console::Fail(error);
    Console::Out(QStringLiteral("申請を取り消しました: %1 印刷 %2円\n")
                     .arg(application.printed.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
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
    const bool json = line.Flag(QStringLiteral("--json"));
    const bool repair = line.Flag(QStringLiteral("--repair"));
    if (!line.Positionals().isEmpty() || int(cancel.has_value()) + int(json) + int(repair) > 1)
        return Console::kUsage;
    CCorvaneDoc doc(context.settings);
    if (repair)
        return Repair(doc);
    return cancel ? Cancel(doc, *cancel) : List(doc, json);
}
