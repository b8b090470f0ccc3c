#include "QtClaimPrinter.h"

#include "FileWriter.h"
#include "PdfExport.h"
#include "PrintFormat.h"
#include "PrintJob.h"
#include "QPainterCanvas.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintEngine>
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
} // namespace

QtClaimPrinter::QtClaimPrinter(QWidget* parent)
    : m_parent(parent), m_printer(QPrinter::HighResolution)
{
}

std::optional<ClaimPrinter::Pages> QtClaimPrinter::Choose(const PrintFormat& layout, int pageCount)
{
    m_printer.setPageLayout(layout.PageLayout());
    m_printer.setFromTo(0, 0);
    QPrintDialog dialog(&m_printer, m_parent);
    dialog.setMinMax(1, pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (m_printer.printRange() != QPrinter::PageRange || m_printer.fromPage() <= 0)
        return Pages{1, pageCount};
    const int first = std::min(m_printer.fromPage(), pageCount);
    return Pages{first, std::clamp(m_printer.toPage(), first, pageCount)};
}

void QtClaimPrinter::ChooseWithoutDialog(const PrintFormat& layout)
{
    m_printer.setPageLayout(layout.PageLayout());
}

bool QtClaimPrinter::PaintPages(const PrintJob& job, QPagedPaintDevice& device, int first, int last)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    QPainterCanvas canvas(painter, device.logicalDpiX());
    for (int page = first; page <= last; ++page) {
        if (page > first && !device.newPage())
            return false;
        job.PrintPage(canvas, page);
    }
    return painter.end();
}

ClaimPrinter::Outcome QtClaimPrinter::Print(const PrintJob& job)
{
    if (m_printer.outputFormat() == QPrinter::PdfFormat && !m_printer.outputFileName().isEmpty())
        return SaveToFile(job, {});
    return Submit(job, {});
}

ClaimPrinter::Outcome QtClaimPrinter::SaveToFile(const PrintJob& job, Outcome outcome)
{
    outcome.file = m_printer.outputFileName();
    const QByteArray pdf = RenderJobToPdf(job, m_printer.pageLayout(), 1, job.PageCount());
    if (pdf.isEmpty()) {
        outcome.error = QStringLiteral("PDFを作成できませんでした。");
        return outcome;
    }
    if (!FileWriter::WriteAtomically(outcome.file, pdf, &outcome.error))
        return outcome;
    outcome.kind = Outcome::Kind::SavedToFile;
    return outcome;
}

ClaimPrinter::Outcome QtClaimPrinter::Submit(const PrintJob& job, Outcome outcome)
{
    const QString printer = m_printer.printerName();
    if (printer.isEmpty()) {
        outcome.error = QStringLiteral("プリンターが選択されていません。");
        return outcome;
    }
    const QByteArray pdf = RenderJobToPdf(job, m_printer.pageLayout(), 1, job.PageCount());
    QTemporaryFile file;
    if (pdf.isEmpty() || !file.open() || file.write(pdf) != pdf.size() || !file.flush()) {
        outcome.error = QStringLiteral("印刷データを作成できませんでした。");
        return outcome;
    }
    file.close();
    const auto submitted = CupsPrintService::Submit(printer, file.fileName(),
                                                    QStringLiteral("交通費精算書"), JobOptions());
    if (submitted.jobId == 0) {
        outcome.error = QStringLiteral("プリンター %1 が印刷を受け付けませんでした。(%2)")
                            .arg(printer, submitted.error);
        return outcome;
    }
    outcome.kind = Outcome::Kind::Printed;
    outcome.held = submitted.held;
    return outcome;
}

CupsPrintService::Options QtClaimPrinter::JobOptions() const
{
    CupsPrintService::Options options;
    const QStringList dialogOptions =
        m_printer.printEngine()->property(kCupsOptionsProperty).toStringList();
    for (qsizetype i = 0; i + 1 < dialogOptions.size(); i += 2)
        options.emplace_back(dialogOptions[i].toUtf8(), dialogOptions[i + 1].toUtf8());
    options.emplace_back("media", m_printer.pageLayout().pageSize().key().toUtf8());
    options.emplace_back("sides", SidesOf(m_printer.duplex()));
    if (m_printer.copyCount() > 1) {
        options.emplace_back("copies", QByteArray::number(m_printer.copyCount()));
        options.emplace_back("collate", m_printer.collateCopies() ? "true" : "false");
    }
    if (m_printer.colorMode() == QPrinter::GrayScale)
        options.emplace_back("print-color-mode", "monochrome");
    return options;
}
