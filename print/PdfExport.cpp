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
        writer.setPageLayout(format.PageLayout());
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
