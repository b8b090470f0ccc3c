#include "ApplicationArchive.h"

#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "CsvCell.h"
#include "EntryList.h"
#include "FileWriter.h"
#include "Folders.h"
#include "PdfExport.h"
#include "PrintFormat.h"
#include "PrintJob.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

const QString ApplicationArchive::kIndexName = QStringLiteral("申請一覧.csv");

namespace
{
// Names tried for a file whose name holds other bytes.
constexpr int kNames = 100;

QString Quoted(const QString& text)
{
    QString cell = CsvCell::InertText(text);
    cell.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + cell + QLatin1Char('"');
}

QString Day(const QDate& day)
{
    return day.isValid() ? day.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QString Period(const AppliedLines::Application& application)
{
    return application.from.isValid()
               ? QStringLiteral("%1～%2").arg(Day(application.from), Day(application.to))
               : QString();
}

QString Time(const QDateTime& time)
{
    return time.isValid() ? time.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) : QString();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SortOldestFirst(std::vector<AppliedLines::Application>& applications)
{
    std::stable_sort(applications.begin(), applications.end(),
                     [](const AppliedLines::Application& a, const AppliedLines::Application& b) {
                         return a.printed != b.printed ? a.printed < b.printed : a.id < b.id;
                     });
}
} // namespace

QString ApplicationArchive::FileName(const AppliedLines::Application& application)
{
    return QStringLiteral("%1_交通費精算_%2円_%3%4.pdf")
        .arg(application.printed.toString(QStringLiteral("yyyyMMdd")))
        .arg(application.amount)
        .arg(application.id, application.cancelled.isValid() ? QStringLiteral("_取消") : QString());
}

QByteArray ApplicationArchive::Pdf(const AppliedLines::Application& application,
                                   const PrintFormat& layout, QString* error)
{
    const QByteArray bytes = ReadFile(application.snapshotFile);
    EntryList snapshot;
    try {
        ArchiveReader in(bytes);
        snapshot.Read(in);
    } catch (const ArchiveError&) {
        if (error)
            *error = QStringLiteral("申請 %1 の控え %2 を読めません。")
                         .arg(application.id, QDir::toNativeSeparators(application.snapshotFile));
        return {};
    }
    // Every line of a snapshot was printed.
    std::vector<const EntryInfo*> lines;
    for (const auto& line : snapshot.lines) {
        line->applyFlag = 1;
        lines.push_back(line.get());
    }
    const ApplyRecord::Paper& paper = application.paper;
    PrintJob job(layout);
    job.Prepare(lines, paper.claimant, application.printed, {true, paper.from, paper.until});
    // Only a print of this version carried its number.
    if (application.printedBy != ApplyRecord::Actor{})
        job.SetApplicationNumber(application.id);
    const QByteArray pdf =
        RenderJobToPdf(job, layout.PageLayout(), 1, job.PageCount(), application.printed);
    if (pdf.isEmpty() && error)
        *error = QStringLiteral("申請 %1 のPDFを作成できませんでした。").arg(application.id);
    return pdf;
}

QByteArray ApplicationArchive::Index(const std::vector<AppliedLines::Application>& applications)
{
    std::vector<AppliedLines::Application> sorted = applications;
    SortOldestFirst(sorted);
    QStringList rows{QStringLiteral("番号,印刷日時,利用期間,金額,明細数,状態,取消日時,取消理由,"
                                    "利用者,コンピューター,SHA-256")};
    for (const auto& a : sorted) {
        const bool cancelled = a.cancelled.isValid();
        rows << QStringList{Quoted(a.id),
                            Quoted(Time(a.printed)),
                            Quoted(Period(a)),
                            QString::number(a.amount),
                            a.lineCount < 0 ? QString() : QString::number(a.lineCount),
                            Quoted(cancelled ? QStringLiteral("取消") : QStringLiteral("申請")),
                            Quoted(cancelled ? Time(a.cancelledAt) : QString()),
                            Quoted(a.cancelReason),
                            Quoted(a.printedBy.user),
                            Quoted(a.printedBy.host),
                            Quoted(a.sha256)}
                    .join(QLatin1Char(','));
    }
    return QByteArray("\xEF\xBB\xBF") + rows.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

void ApplicationArchive::Place(const QString& folder, const QString& name, const QByteArray& bytes,
                               Report& report)
{
    const QFileInfo file(name);
    for (int n = 1; n <= kNames; ++n) {
        const QString candidate =
            n == 1
                ? name
                : QStringLiteral("%1-%2.%3").arg(file.completeBaseName()).arg(n).arg(file.suffix());
        const QString path = JoinPath(folder, candidate);
        if (QFileInfo::exists(path)) {
            if (ReadFile(path) == bytes) {
                report.unchanged << path;
                return;
            }
            continue;
        }
        QString error;
        switch (FileWriter::CreateNew(path, bytes, &error)) {
        case FileWriter::Creation::Created:
            report.written << path;
            if (n > 1)
                report.notes << QStringLiteral("%1 は内容の違うファイルがすでにあるため、%2 "
                                               "として書き出しました。")
                                    .arg(name, candidate);
            return;
        case FileWriter::Creation::Failed:
            report.notes << error;
            report.failed = true;
            return;
        case FileWriter::Creation::Taken:
            break;
        }
    }
    report.notes << QStringLiteral("%1 を書き出せませんでした（同じ名前のファイルが多すぎます）。")
                        .arg(QDir::toNativeSeparators(JoinPath(folder, name)));
    report.failed = true;
}

ApplicationArchive::Report
ApplicationArchive::Export(std::vector<AppliedLines::Application> applications,
                           const PrintFormat& layout, const QString& folder)
{
    Report report;
    if (!QFileInfo(folder).isDir()) {
        report.notes << QStringLiteral("書き出し先のフォルダー %1 がありません。")
                            .arg(QDir::toNativeSeparators(folder));
        report.failed = true;
        return report;
    }
    SortOldestFirst(applications);
    for (const auto& application : applications) {
        QString error;
        const QByteArray pdf = Pdf(application, layout, &error);
        if (pdf.isEmpty()) {
            report.notes << error;
            report.failed = true;
            continue;
        }
        Place(folder, FileName(application), pdf, report);
    }
    Place(folder, kIndexName, Index(applications), report);
    return report;
}
