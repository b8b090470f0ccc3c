#include "PrintService.h"

#include "PrintFormat.h"
#include "PrintJob.h"

#include <QPrinter>
#include <gtest/gtest.h>

// A printer the spooler does not know takes no job: nothing counts as
// printed, and the message names the printer and the spooler's reason.
TEST(PrintService, AJobTheSpoolerRefusesIsNotCounted)
{
    PrintFormat layout;
    PrintJob job(layout);
    ASSERT_GE(job.Prepare(std::vector<const EntryInfo*>{}, {}, QDateTime::currentDateTime()), 1);
    QPrinter settings;
    const PrintService::Submission submitted =
        PrintService::Submit(QStringLiteral("Fenwir no such printer"), settings, job, 1, 1,
                             QStringLiteral("交通費精算書"));
    EXPECT_EQ(submitted.jobId, 0);
    EXPECT_TRUE(submitted.error.contains(QStringLiteral("Fenwir no such printer")))
        << submitted.error.toStdString();
    EXPECT_TRUE(submitted.held.isEmpty());
}
