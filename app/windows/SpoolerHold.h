#pragma once

#include <QString>
#include <windows.h>

// Whether a job the spooler took waits in its queue rather than going out,
// from the job's and the printer's state as the spooler reports them: a
// paused job or printer, a printer offline or set to work offline, one in
// error, out of paper, jammed, open or waiting for the user.
namespace SpoolerHold
{
// Why the job waits, in the user's words; empty when it goes out.
QString Reason(const QString& printer, DWORD jobStatus, DWORD printerStatus,
               DWORD printerAttributes);
} // namespace SpoolerHold
