#include "PdfExport.h"

#include "FileWriter.h"
#include "PrintFonts.h"
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
                      const ClaimFilter& period, const QString& path, int* pageCount,
                      QString* error)
{
    PrintJob job(format);
    const int pages = job.Prepare(lines, claimant, printTime, period);
    if (pageCount)
        *pageCount = pages;

    // Rendered in memory first, so the file is replaced only by a whole PDF.
    const QByteArray pdf = RenderJobToPdf(job, format.PageLayout(), 1, pages);
    if (pdf.isEmpty()) {
        if (error)
            *error = QStringLiteral("PDFを作成できませんでした。");
        return false;
    }
    return FileWriter::WriteAtomically(path, pdf, error);
}

QByteArray RenderJobToPdf(const PrintJob& job, const QPageLayout& layout, int first, int last)
{
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kResolution);
        writer.setCreator(QStringLiteral("Fenwir Lite"));
        writer.setTitle(QStringLiteral("交通費精算書"));
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        QPainterCanvas canvas(painter, kResolution);
        for (int page = first; page <= last; ++page) {
            if (page > first && !writer.newPage())
                return {};
            job.PrintPage(canvas, page);
        }
        if (!painter.end())
            return {};
    }
    return PdfTextLayer::RestoreCharacters(pdf, PrintFonts::Aliases());
}
