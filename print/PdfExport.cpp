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

// The writer dates the file by the clock ("/CreationDate (D:20261130091500Z)");
// the same digits for another time keep every offset in the file.
void StampCreation(QByteArray& pdf, const QDateTime& created)
{
    static const QByteArray kKey = QByteArrayLiteral("/CreationDate (D:");
    constexpr qsizetype kDigits = 14;
    const qsizetype at = pdf.indexOf(kKey);
    if (at < 0 || at + kKey.size() + kDigits > pdf.size())
        return;
    const QByteArray digits = created.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    if (digits.size() == kDigits)
        pdf.replace(at + kKey.size(), kDigits, digits);
}
} // namespace

bool RenderClaimToPdf(const PrintFormat& format, const std::vector<const EntryInfo*>& lines,
                      const std::array<QString, 3>& claimant, const QDateTime& printTime,
                      const ClaimFilter& period, const QString& path, int* pageCount,
                      QString* error, const QString& applicationNumber)
{
    PrintJob job(format);
    const int pages = job.Prepare(lines, claimant, printTime, period);
    job.SetApplicationNumber(applicationNumber);
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

QByteArray RenderJobToPdf(const PrintJob& job, const QPageLayout& layout, int first, int last,
                          const QDateTime& created)
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
    pdf = PdfTextLayer::RestoreCharacters(pdf, PrintFonts::Aliases());
    if (created.isValid())
        StampCreation(pdf, created);
    return pdf;
}
