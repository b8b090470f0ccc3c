#include "PrintService.h"

#include "CupsPrintService.h"
#include "PdfExport.h"

#include <QPrintEngine>
#include <QPrinter>
#include <QTemporaryFile>

namespace
{
// Qt's print engine keeps the options of the print dialog's CUPS pages under
// this property, as name/value pairs.
constexpr auto kCupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

QByteArray SidesOf(QPrinter::DuplexMode duplex)
{
    switch (duplex) {
    case QPrinter::DuplexLongSide:
        return "two-sided-long-edge";
    case QPrinter::DuplexShortSide:
        return "two-sided-short-edge";
    default:
        return "one-sided";
    }
}

CupsPrintService::Options JobOptions(QPrinter& printer)
{
    CupsPrintService::Options options;
    const QStringList dialogOptions =
        printer.printEngine()->property(kCupsOptionsProperty).toStringList();
    for (qsizetype i = 0; i + 1 < dialogOptions.size(); i += 2)
        options.emplace_back(dialogOptions[i].toUtf8(), dialogOptions[i + 1].toUtf8());
    options.emplace_back("media", printer.pageLayout().pageSize().key().toUtf8());
    options.emplace_back("sides", SidesOf(printer.duplex()));
    if (printer.copyCount() > 1) {
        options.emplace_back("copies", QByteArray::number(printer.copyCount()));
        options.emplace_back("collate", printer.collateCopies() ? "true" : "false");
    }
    if (printer.colorMode() == QPrinter::GrayScale)
        options.emplace_back("print-color-mode", "monochrome");
    return options;
}
} // namespace

bool PrintService::IsQueued(const ApplyRecord::PrintJob& job)
{
    return job.id != 0 && CupsPrintService::IsActive(job.printer, job.id, job.submitted);
}

bool PrintService::Withdraw(const ApplyRecord::PrintJob& job, QString* error)
{
    return CupsPrintService::Cancel(job.printer, job.id, error);
}

PrintService::Submission PrintService::Submit(const QString& printer, QPrinter& settings,
                                              const PrintJob& job, int first, int last,
                                              const QString& title)
{
    Submission result;
    const QByteArray pdf = RenderJobToPdf(job, settings.pageLayout(), first, last);
    QTemporaryFile file;
    if (pdf.isEmpty() || !file.open() || file.write(pdf) != pdf.size() || !file.flush()) {
        result.error = QStringLiteral("印刷データを作成できませんでした。");
        return result;
    }
    file.close();
    const auto submitted =
        CupsPrintService::Submit(printer, file.fileName(), title, JobOptions(settings));
    result.jobId = submitted.jobId;
    result.held = submitted.held;
    if (submitted.jobId == 0)
        result.error = QStringLiteral("プリンター %1 が印刷を受け付けませんでした。(%2)")
                           .arg(printer, submitted.error);
    return result;
}
