// A real print of a claim through a CUPS daemon of the test's own: the job
// that reaches the queue has the claim's pages and text, and the application
// history holds the claim.
#include "AppSettings.h"
#include "ApplyHistory.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "CupsPrintService.h"
#include "CupsQueue.h"
#include "FileCommands.h"
#include "HistoryCommands.h"
#include "LocalTime.h"
#include "PdfText.h"
#include "PrintCommands.h"
#include "QtClaimPrinter.h"
#include "RecentFiles.h"
#include "ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cups/cups.h>
#include <functional>
#include <gtest/gtest.h>

namespace
{
// The system's printer path with the queue chosen instead of the dialog.
class QueuePrinter : public QtClaimPrinter
{
public:
    explicit QueuePrinter(const QString& queue) : QtClaimPrinter(nullptr), m_queue(queue) {}
    std::optional<Pages> Choose(const PrintFormat& layout, int pageCount) override
    {
        Printer().setPrinterName(m_queue);
        ChooseWithoutDialog(layout);
        if (afterChoosing)
            afterChoosing();
        return pages.value_or(Pages{1, pageCount});
    }

    // The pages the user picks; all without.
    std::optional<Pages> pages;

    // What happens to the queue between the dialog and the job.
    std::function<void()> afterChoosing;

private:
    QString m_queue;
};

int PdfPages(const QString& pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return static_cast<int>(QString::fromLatin1(file.readAll())
                                .count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}
} // namespace

// A claim of 25 lines at 200 yen (two pages of 20 rows), with its claimant.
struct PrintedClaimFixture {
    PrintedClaimFixture()
        : doc(settings), recent(3), files(doc, settings, prompts, recent),
          form(doc, settings, prompts), printing(doc, form, settings, prompts, files, nullptr)
    {
        settings.DefaultPath = dir.path();
        settings.PostName = QStringLiteral("営業部");
        settings.IdNumber = QStringLiteral("A-1024");
        settings.Name = QStringLiteral("山田花子");
        doc.NewDocument();
        EntryLines lines;
        for (int i = 0; i < 25; ++i) {
            auto line = std::make_unique<EntryInfo>(
                EntryInfo::ManualLine(*LocalToTimestamp(2026, 11, 1 + i, 0, 0, 0)));
            line->fare = 200;
            line->applyFlag = 1;
            line->entryStationName = QStringLiteral("日本橋");
            line->exitStationName = QStringLiteral("月島");
            lines.push_back(std::move(line));
        }
        doc.ReplaceLines(std::move(lines));
    }

    std::size_t Records() const
    {
        ApplyHistory stored(settings);
        stored.Refresh();
        return stored.Records().size();
    }

    QTemporaryDir dir;
    AppSettings settings;
    CCorvaneDoc doc;
    ScriptedPrompts prompts;
    RecentFiles recent;
    FileCommands files;
    CCorvaneForm form;
    PrintCommands printing;
};

TEST(CupsPrint, ClaimReachesTheQueueAndIsRecorded)
{
    ASSERT_TRUE(QFile::exists("/usr/sbin/cupsd")) << "cupsd is missing: run tools/setup.sh";
    CupsQueue cups;
    ASSERT_TRUE(cups.Start(QStringLiteral("fenwir-test"))) << cups.Log().toStdString();
    PrintedClaimFixture claim;
    QueuePrinter printer(cups.Queue());

    ASSERT_TRUE(claim.printing.Print(&printer)) << claim.prompts.asked.join('\n').toStdString();
    const QString job = cups.WaitForJob(1);
    ASSERT_FALSE(job.isEmpty()) << cups.Log().toStdString();
    EXPECT_EQ(PdfPages(job), 2);
    const QString text = PdfText(job);
    for (const char* expected : {"日本橋", "月島", "5,000", "営業部", "A-1024", "山田花子"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << text.toStdString();

    ApplyHistory stored(claim.settings);
    ASSERT_TRUE(stored.Refresh());
    ASSERT_EQ(stored.Records().size(), 1u);
    EXPECT_EQ(stored.Records()[0].amount, 5000);
    EXPECT_EQ(claim.form.CheckedCount(), 0);
}

// Page 2 alone is the claim of its lines: what reaches the queue sums
// exactly them, and that sum is what is recorded.
TEST(CupsPrint, APageRangeIsTheClaimOfItsLines)
{
    ASSERT_TRUE(QFile::exists("/usr/sbin/cupsd")) << "cupsd is missing: run tools/setup.sh";
    CupsQueue cups;
    ASSERT_TRUE(cups.Start(QStringLiteral("fenwir-test"))) << cups.Log().toStdString();
    PrintedClaimFixture claim;
    QueuePrinter printer(cups.Queue());
    printer.pages = ClaimPrinter::Pages{2, 2};

    ASSERT_TRUE(claim.printing.Print(&printer)) << claim.prompts.asked.join('\n').toStdString();
    const QString job = cups.WaitForJob(1);
    ASSERT_FALSE(job.isEmpty()) << cups.Log().toStdString();
    EXPECT_EQ(PdfPages(job), 1);
    const QString text = PdfText(job);
    for (const char* expected : {"対象期間 2026年11月21日～2026年11月25日", "11月25日",
                                 "合計\\s+1,000\\s", "合計金額\\s+￥1,000－"})
        EXPECT_TRUE(text.contains(QRegularExpression(QString::fromUtf8(expected))))
            << expected << text.toStdString();
    for (const char* absent : {"5,000", "11月20日", "小計"})
        EXPECT_FALSE(text.contains(QString::fromUtf8(absent))) << absent << text.toStdString();

    ApplyHistory stored(claim.settings);
    ASSERT_TRUE(stored.Refresh());
    ASSERT_EQ(stored.Records().size(), 1u);
    EXPECT_EQ(stored.Records()[0].amount, 1000);
    EXPECT_EQ(claim.form.CheckedCount(), 20);
}

// A print counts when the print service took the job: a stopped queue that
// holds it, yes; a queue refusing jobs or a printer gone, no, and then
// nothing changes and the user is told.
TEST(CupsPrint, OnlyAJobTheServiceTookIsRecorded)
{
    // What the user is told is Japanese, with the queue's own reason where
    // the administrator gave one, never the print service's English.
    struct Case {
        const char* name;
        bool (CupsQueue::*state)() const;
        bool recorded;
        const char* told;
    };
    const Case cases[] = {
        {"stopped, still taking jobs", &CupsQueue::Stop, true,
         "印刷は保留されています: プリンター fenwir-test が停止しています（一時停止中）"},
        {"stopped with a reason", &CupsQueue::StopForPaper, true,
         "印刷は保留されています: プリンター fenwir-test が停止しています（用紙補充のため停止中）"},
        {"refusing jobs", &CupsQueue::RejectJobs, false,
         "プリンター fenwir-test "
         "が印刷を受け付けませんでした。(ジョブの受け付けが停止されています)"},
        {"refusing jobs with a reason", &CupsQueue::RejectJobsForPaper, false,
         "プリンター fenwir-test が印刷を受け付けませんでした。(ジョブの受け付けが停止されています"
         "：用紙補充のため停止中)"},
        {"removed after the dialog", &CupsQueue::Remove, false,
         "プリンター fenwir-test が印刷を受け付けませんでした。(プリンターが見つかりません)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CupsQueue cups;
        ASSERT_TRUE(cups.Start(QStringLiteral("fenwir-test"))) << cups.Log().toStdString();
        PrintedClaimFixture claim;
        QueuePrinter printer(cups.Queue());
        printer.afterChoosing = [&] { ASSERT_TRUE((cups.*c.state)()); };
        EXPECT_EQ(claim.printing.Print(&printer), c.recorded);
        EXPECT_EQ(claim.Records(), c.recorded ? 1u : 0u);
        EXPECT_EQ(claim.form.CheckedCount(), c.recorded ? 0 : 25);
        EXPECT_EQ(claim.doc.IsModified(), c.recorded);
        ASSERT_EQ(claim.prompts.asked.size(), 1);
        const QString& told = claim.prompts.asked[0];
        EXPECT_TRUE(told.contains(QString::fromUtf8(c.told))) << told.toUtf8().constData();
        for (const char* english : {"accepting", "exist", "Paused", "Rejecting"})
            EXPECT_FALSE(told.contains(QLatin1String(english))) << told.toStdString();
        if (c.recorded) {
            // Held, and said so: the paper may never come out.
            EXPECT_TRUE(told.contains("申請を記録しました (5,000円)")) << told.toStdString();
            EXPECT_TRUE(told.contains("取消")) << told.toStdString();
            EXPECT_EQ(cups.PendingJobs(), 1);
        }
    }
}

// A print the queue holds shows as 保留 in 申請履歴; taking the application
// back withdraws the job, so the cancelled claim never comes out.
TEST(CupsPrint, CancellingAHeldPrintWithdrawsItsJob)
{
    CupsQueue cups;
    ASSERT_TRUE(cups.Start(QStringLiteral("fenwir-test"))) << cups.Log().toStdString();
    PrintedClaimFixture claim;
    QueuePrinter printer(cups.Queue());
    printer.afterChoosing = [&] { ASSERT_TRUE(cups.Stop()); };
    ASSERT_TRUE(claim.printing.Print(&printer)) << claim.prompts.asked.join('\n').toStdString();
    ASSERT_EQ(cups.PendingJobs(), 1);

    HistoryCommands history(claim.doc);
    CApplyHistoryDlg dialog(history.Access(), claim.prompts);
    dialog.SetReasonAsker([](const QString&) { return QStringLiteral("用紙切れ"); });
    ASSERT_EQ(dialog.Table().rowCount(), 1);
    EXPECT_EQ(dialog.Table().item(0, CApplyHistoryDlg::State)->text(), "保留");
    claim.prompts.asked.clear();
    dialog.CancelButton().click();
    EXPECT_EQ(cups.PendingJobs(), 0);
    ASSERT_EQ(claim.prompts.asked.size(), 1);
    EXPECT_TRUE(
        claim.prompts.asked[0].contains("保留されていた印刷（プリンター fenwir-test のジョブ"))
        << claim.prompts.asked[0].toStdString();
    EXPECT_EQ(dialog.Table().item(0, CApplyHistoryDlg::State)->text(),
              "取消 " + QDate::currentDate().toString("yyyy/MM/dd") + "：用紙切れ");
}

TEST(CupsPrint, RefusalsAreToldInJapanese)
{
    const std::pair<int, const char*> cases[] = {
        {IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS, "ジョブの受け付けが停止されています"},
        {IPP_STATUS_ERROR_NOT_FOUND, "プリンターが見つかりません"},
        {IPP_STATUS_ERROR_SERVICE_UNAVAILABLE, "印刷サービスに接続できません"},
        {IPP_STATUS_ERROR_NOT_AUTHORIZED, "このプリンターで印刷する権限がありません"},
        {IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED,
         "プリンターが印刷データの形式 (PDF) に対応していません"},
        {IPP_STATUS_ERROR_BUSY, "プリンターが使用中です"},
        {IPP_STATUS_ERROR_CUPS_ACCOUNT_LIMIT_REACHED,
         "印刷できる量の上限に達したか、印刷の利用が認められていません"},
        {IPP_STATUS_ERROR_TIMEOUT, "印刷サービスのエラー 0x0405"},
    };
    for (const auto& [status, text] : cases)
        EXPECT_EQ(CupsPrintService::RefusalText(status, QString()), QString::fromUtf8(text))
            << status;
    // The queue's reason, unless it is the service's English default.
    EXPECT_EQ(CupsPrintService::RefusalText(IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS, " 点検中 "),
              "ジョブの受け付けが停止されています：点検中");
    EXPECT_EQ(CupsPrintService::RefusalText(IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS, "Rejecting Jobs"),
              "ジョブの受け付けが停止されています");
    EXPECT_EQ(CupsPrintService::QueueReason("Paused"), "");
    EXPECT_EQ(CupsPrintService::QueueReason("Out of paper"), "Out of paper");

    // No print service to reach at all.
    QTemporaryDir dir;
    QFile pdf(dir.filePath("claim.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.write("%PDF-1.4\n");
    pdf.close();
    cupsSetServer(dir.filePath("no-cupsd.sock").toUtf8().constData());
    const auto submitted =
        CupsPrintService::Submit("fenwir-test", pdf.fileName(), "交通費精算書", {});
    cupsSetServer(nullptr);
    EXPECT_EQ(submitted.jobId, 0);
    EXPECT_EQ(submitted.error, "印刷サービスに接続できません");
}
