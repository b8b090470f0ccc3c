#pragma once

#include "ClaimPrinter.h"

#include <QPrinter>

class QPagedPaintDevice;
class QWidget;

// The system's printers: Qt's print dialog with the page range and the
// layout's paper and orientation preset; a job's pages are rendered to a PDF
// and handed to the print service, which must accept the job. The dialog's
// output to a PDF file writes that file and prints nothing.
class QtClaimPrinter : public ClaimPrinter
{
public:
    explicit QtClaimPrinter(QWidget* parent);

    std::optional<Pages> Choose(const PrintFormat& layout, int pageCount) override;
    Outcome Print(const PrintJob& job) override;

    // The printer the page setup and the preview also use.
    QPrinter& Printer() { return m_printer; }
    // The layout's paper on the printer as it is set, without the dialog.
    void ChooseWithoutDialog(const PrintFormat& layout);
    // Draws pages first..last of the job on a paint device; false when the
    // device would not take a page.
    static bool PaintPages(const PrintJob& job, QPagedPaintDevice& device, int first, int last);

private:
    Outcome SaveToFile(const PrintJob& job, Outcome outcome);
    Outcome Submit(const PrintJob& job, Outcome outcome);

    QWidget* m_parent;
    QPrinter m_printer;
};
