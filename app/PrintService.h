#pragma once

#include "ApplyRecord.h"

#include <QString>

class PrintJob;
class QPrinter;

// The system's print service: takes pages first..last of a claim as one job
// for a printer, with the settings chosen in the print dialog, and says
// whether it took the job. A printer that refuses it or is gone is a refusal with the service's
// reason; one that takes the job but holds it (a stopped or paused printer,
// a held job) is not. Linux hands CUPS the pages as a PDF; Windows draws them
// on the printer through the spooler (the per-OS parts are in unix/ and
// windows/).
class PrintService
{
public:
    struct Submission {
        int jobId = 0; // the service's job; 0 when nothing was taken
        QString error; // why not, for the user
        // Taken but not printing: why, in words for the user; empty when the
        // job goes out.
        QString held;
    };

    static Submission Submit(const QString& printer, QPrinter& settings, const PrintJob& job,
                             int first, int last, const QString& title);

    // Whether the service still holds the job, not printed and not
    // cancelled (the same job: one submitted at that time).
    static bool IsQueued(const ApplyRecord::PrintJob& job);
    // Takes the job out of the queue; false with the service's reason.
    static bool Withdraw(const ApplyRecord::PrintJob& job, QString* error);
};
