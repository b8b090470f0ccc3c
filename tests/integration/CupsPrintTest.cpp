// A real print of a claim through a CUPS daemon of the test's own: the job
// that reaches the queue has the claim's pages and text, and the application
// history holds the claim.
#include "AppSettings.h"
#include "ApplyHistory.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "CupsQueue.h"
#include "FileCommands.h"
#include "LocalTime.h"
#include "PrintCommands.h"
#include "QtClaimPrinter.h"
#include "RecentFiles.h"
#include "ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
// The system's printer path with the queue chosen instead of the dialog.
class QueuePrinter : public QtClaimPrinter
{
public:
    explicit QueuePrinter(const QString& queue) : QtClaimPrinter(nullptr), m_queue(queue) {}
    bool Choose(const PrintFormat& layout, int pageCount) override
    {
        Printer().setPrinterName(m_queue);
        ChooseAllPages(layout, pageCount);
        return true;
    }

private:
    QString m_queue;
};

QString PdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return static_cast<int>(QString::fromLatin1(file.readAll())
                                .count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}
} // namespace

TEST(CupsPrint, ClaimReachesTheQueueAndIsRecorded)
{
    ASSERT_TRUE(QFile::exists("/usr/sbin/cupsd")) << "cupsd is missing: run tools/setup.sh";
    CupsQueue cups;
    ASSERT_TRUE(cups.Start(QStringLiteral("fenwir-test"))) << cups.Log().toStdString();

    QTemporaryDir dir;
    AppSettings settings;
    settings.DefaultPath = dir.path();
    CCorvaneDoc doc(settings);
    doc.NewDocument();
    for (int i = 0; i < 25; ++i) { // two pages of 20 rows
        auto line = std::make_unique<EntryInfo>(
            EntryInfo::ManualLine(*LocalToTimestamp(2026, 11, 1 + i, 0, 0, 0)));
        line->fare = 200;
        line->entryStationName = QStringLiteral("日本橋");
        line->exitStationName = QStringLiteral("月島");
        doc.Data().lines.push_back(std::move(line));
    }
    ScriptedPrompts prompts;
    RecentFiles recent(3);
    FileCommands files(doc, settings, prompts, recent);
    CCorvaneForm form(doc, settings, prompts);
    Q_EMIT doc.Updated(CCorvaneDoc::HintRefill);
    PrintCommands printing(doc, form, settings, prompts, files, nullptr);
    QueuePrinter printer(cups.Queue());

    ASSERT_TRUE(printing.Print(&printer)) << prompts.asked.join('\n').toStdString();
    const QString job = cups.WaitForJob(1);
    ASSERT_FALSE(job.isEmpty()) << cups.Log().toStdString();
    EXPECT_EQ(PdfPages(job), 2);
    const QString text = PdfText(job);
    EXPECT_TRUE(text.contains(QStringLiteral("日本橋"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("月島")));
    EXPECT_TRUE(text.contains(QStringLiteral("5,000"))) << text.toStdString();

    ApplyHistory stored;
    ASSERT_TRUE(stored.Load(settings));
    ASSERT_EQ(stored.Records().size(), 1u);
    EXPECT_EQ(stored.Records()[0].amount, 5000);
    EXPECT_EQ(form.CheckedCount(), 0);
}
