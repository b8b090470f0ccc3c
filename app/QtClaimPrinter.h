#pragma once

#include "ClaimPrinter.h"

#include <QPrinter>

class QWidget;

// The system's printers through Qt Print Support (CUPS on Linux): the print
// dialog with the page range, the layout's paper and orientation preset.
class QtClaimPrinter : public ClaimPrinter
{
public:
    explicit QtClaimPrinter(QWidget* parent);

    bool Choose(const PrintFormat& layout, int pageCount) override;
    bool Print(const PrintJob& job, QString* error) override;

    // The printer the page setup and the preview also use.
    QPrinter& Printer() { return m_printer; }
    // Every page, on the printer as it is set (without the dialog).
    void ChooseAllPages(const PrintFormat& layout, int pageCount);
    // Draws pages first..last of the job on a painter's device.
    static void PaintPages(const PrintJob& job, QPagedPaintDevice& device, int first, int last);

private:
    QWidget* m_parent;
    QPrinter m_printer;
    int m_first = 1;
    int m_last = 1;
};
