#pragma once

#include "ApplyRecord.h"

#include <QString>
#include <optional>

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
        QString error;
        QString file;
        // Printed, but the print service holds the job: why, for the user.
        QString held;
        // The print service's job, when it names one.
        ApplyRecord::PrintJob job;
    };

    // The pages of the claim the user chose, 1..page count.
    struct Pages {
        int first = 1;
        int last = 1;
        bool toFile = false; // a file, not paper: nothing will be recorded
    };

    virtual ~ClaimPrinter() = default;
    // Asks which printer and pages (1..pageCount); nothing when cancelled.
    virtual std::optional<Pages> Choose(const PrintFormat& layout, int pageCount) = 0;
    // Prints every page of the job, on the printer chosen.
    virtual Outcome Print(const PrintJob& job) = 0;
};
