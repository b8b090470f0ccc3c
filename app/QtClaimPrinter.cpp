#include "QtClaimPrinter.h"

#include "PrintFormat.h"
#include "PrintJob.h"
#include "QPainterCanvas.h"

#include <QPainter>
#include <QPrintDialog>

QtClaimPrinter::QtClaimPrinter(QWidget* parent)
    : m_parent(parent), m_printer(QPrinter::HighResolution)
{
}

bool QtClaimPrinter::Choose(const PrintFormat& layout, int pageCount)
{
    m_printer.setPageLayout(layout.PageLayout());
    m_printer.setFromTo(0, 0);
    QPrintDialog dialog(&m_printer, m_parent);
    dialog.setMinMax(1, pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const bool range = m_printer.printRange() == QPrinter::PageRange && m_printer.fromPage() > 0;
    m_first = range ? m_printer.fromPage() : 1;
    m_last = range ? std::min(m_printer.toPage(), pageCount) : pageCount;
    return true;
}

void QtClaimPrinter::ChooseAllPages(const PrintFormat& layout, int pageCount)
{
    m_printer.setPageLayout(layout.PageLayout());
    m_first = 1;
    m_last = pageCount;
}

void QtClaimPrinter::PaintPages(const PrintJob& job, QPagedPaintDevice& device, int first, int last)
{
    QPainter painter(&device);
    QPainterCanvas canvas(painter, device.logicalDpiX());
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        job.PrintPage(canvas, page);
    }
}

bool QtClaimPrinter::Print(const PrintJob& job, QString* error)
{
    PaintPages(job, m_printer, m_first, m_last);
    if (m_printer.printerState() == QPrinter::Error ||
        m_printer.printerState() == QPrinter::Aborted) {
        if (error)
            *error = QStringLiteral("印刷できませんでした。プリンター %1 を確認してください。")
                         .arg(m_printer.printerName());
        return false;
    }
    return true;
}
