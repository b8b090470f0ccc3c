#pragma once

#include <QString>

class PrintJob;
class PrintFormat;

// Where a claim's pages go: the printer the user picks (QPrinter through
// the platform's print service), or a stand-in in tests.
class ClaimPrinter
{
public:
    virtual ~ClaimPrinter() = default;
    // Asks which printer and pages (1..pageCount); false when cancelled.
    virtual bool Choose(const PrintFormat& layout, int pageCount) = 0;
    // Prints the chosen pages; false with a reason when the printer failed.
    virtual bool Print(const PrintJob& job, QString* error) = 0;
};
