#include "QtClaimPrinter.h"

#include "FileWriter.h"
#include "PdfExport.h"
#include "PrintFormat.h"
#include "PrintJob.h"
#include "PrintService.h"
#include "QPainterCanvas.h"

#include <QDateTime>
#include <QPainter>
#include <QPrintDialog>

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
    const bool toFile =
        m_printer.outputFormat() == QPrinter::PdfFormat && !m_printer.outputFileName().isEmpty();
    if (m_printer.printRange() != QPrinter::PageRange || m_printer.fromPage() <= 0)
        return Pages{1, pageCount, toFile};
    const int first = std::min(m_printer.fromPage(), pageCount);
    return Pages{first, std::clamp(m_printer.toPage(), first, pageCount), toFile};
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
    const auto submitted = PrintService::Submit(printer, m_printer, job, 1, job.PageCount(),
                                                QStringLiteral("交通費精算書"));
    if (submitted.jobId == 0) {
        outcome.error = submitted.error;
        return outcome;
    }
    outcome.kind = Outcome::Kind::Printed;
    outcome.held = submitted.held;
    outcome.job = {printer, submitted.jobId, QDateTime::currentSecsSinceEpoch()};
    return outcome;
}
