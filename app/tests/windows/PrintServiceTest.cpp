#include "PrintService.h"

#include "PrintFormat.h"
#include "PrintJob.h"
#include "SpoolerHold.h"

#include <QPrinter>
#include <gtest/gtest.h>
#include <winspool.h>

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

// A job the spooler took but cannot print until someone acts counts as held
// (recorded, and the user told why): paused, offline, in error, without
// paper, and the like; only a printer that is ready lets it go out.
TEST(PrintService, AJobWaitingForThePrinterIsHeld)
{
    const QString printer = QStringLiteral("事務所");
    struct Case {
        DWORD job;
        DWORD status;
        DWORD attributes;
        const char* held;
    };
    const Case cases[] = {
        {0, 0, 0, ""},
        {JOB_STATUS_PRINTING, PRINTER_STATUS_PRINTING, 0, ""},
        {JOB_STATUS_PAUSED, 0, 0, "ジョブが一時停止されています"},
        {0, PRINTER_STATUS_PAUSED, 0, "プリンター 事務所 が停止しています（一時停止中）"},
        {0, 0, PRINTER_ATTRIBUTE_WORK_OFFLINE, "プリンター 事務所 はオフラインで使う設定です"},
        {0, PRINTER_STATUS_OFFLINE, 0, "プリンター 事務所 がオフラインです"},
        {JOB_STATUS_OFFLINE, 0, 0, "プリンター 事務所 がオフラインです"},
        {0, PRINTER_STATUS_PAPER_OUT, 0, "プリンター 事務所 の用紙がありません"},
        {JOB_STATUS_PAPEROUT, 0, 0, "プリンター 事務所 の用紙がありません"},
        {0, PRINTER_STATUS_PAPER_JAM, 0, "プリンター 事務所 で紙が詰まっています"},
        {0, PRINTER_STATUS_DOOR_OPEN, 0, "プリンター 事務所 のカバーが開いています"},
        {0, PRINTER_STATUS_USER_INTERVENTION, 0, "プリンター 事務所 が操作を待っています"},
        {0, PRINTER_STATUS_ERROR, 0, "プリンター 事務所 がエラーで止まっています"},
        {JOB_STATUS_ERROR, 0, 0, "プリンター 事務所 がエラーで止まっています"},
        {JOB_STATUS_BLOCKED_DEVQ, 0, 0, "プリンター 事務所 がエラーで止まっています"},
        {0, PRINTER_STATUS_NOT_AVAILABLE, 0, "プリンター 事務所 がエラーで止まっています"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpoolerHold::Reason(printer, c.job, c.status, c.attributes),
                  QString::fromUtf8(c.held))
            << std::hex << c.job << " " << c.status << " " << c.attributes;
}
