#include "PdfExport.h"

#include "FileWriter.h"
#include "PrintJob.h"
#include "QPainterCanvas.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace
{
constexpr int kResolution = 600;

// The printer-driver paper codes a layout may name.
QPageSize PageSizeOf(std::uint16_t paper)
{
    switch (paper) {
    case 1:
        return QPageSize(QPageSize::Letter);
    case 5:
        return QPageSize(QPageSize::Legal);
    case 8:
        return QPageSize(QPageSize::A3);
    case 11:
        return QPageSize(QPageSize::A5);
    case 12:
        return QPageSize(QPageSize::JisB4);
    case 13:
        return QPageSize(QPageSize::JisB5);
    default:
        return QPageSize(QPageSize::A4);
    }
}
} // namespace

bool RenderClaimToPdf(const PrintFormat& format, const std::vector<const EntryInfo*>& lines,
                      const std::array<QString, 3>& claimant, const QDateTime& printTime,
                      const QString& path, int* pageCount, QString* error)
{
    PrintJob job(format);
    const int pages = job.Prepare(lines, claimant, printTime);
    if (pageCount)
        *pageCount = pages;

    // Rendered in memory first, so the file is replaced only by a whole PDF.
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kResolution);
        writer.setCreator(QStringLiteral("Fenwir Lite"));
        writer.setTitle(QStringLiteral("交通費精算書"));
        writer.setPageLayout(
            QPageLayout(PageSizeOf(format.paperSize),
                        format.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait,
                        QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        QPainterCanvas canvas(painter, kResolution);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                writer.newPage();
            job.PrintPage(canvas, page);
        }
    }
    return FileWriter::WriteAtomically(path, pdf, error);
}
