#pragma once

#include <QString>

class PrintJob;
class PrintFormat;

// Where a claim's pages go: the printer the user picks (through the
// platform's print service), or a stand-in in tests.
class ClaimPrinter
{
public:
    // What became of a print.
    struct Outcome {
        enum class Kind {
            Failed,      // nothing went out, or not all of it: error says why
            Printed,     // the print service accepted the job with every page
            SavedToFile, // written to a file (the dialog's PDF output), not printed
        };
        Kind kind = Kind::Failed;
        int firstPage = 1; // the pages that went out
        int lastPage = 0;
        QString error;
        QString file;
        // Printed, but the print service holds the job: why, for the user.
        QString held;
    };

    virtual ~ClaimPrinter() = default;
    // Asks which printer and pages (1..pageCount); false when cancelled.
    virtual bool Choose(const PrintFormat& layout, int pageCount) = 0;
    // Prints the chosen pages.
    virtual Outcome Print(const PrintJob& job) = 0;
};
