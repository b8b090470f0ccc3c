#include "PrintCommands.h"

#include "AppSettings.h"
#include "ApplyHistory.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "ClaimPrinter.h"
#include "FileCommands.h"
#include "PrintJob.h"
#include "RecentFiles.h"
#include "ScriptedPrompts.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
// A printer that prints nothing: it says whether the dialog was confirmed
// and whether the pages went out.
class StandInPrinter : public ClaimPrinter
{
public:
    bool Choose(const PrintFormat&, int pageCount) override
    {
        pages = pageCount;
        return confirm;
    }
    bool Print(const PrintJob& job, QString* error) override
    {
        total = job.Total();
        if (!works && error)
            *error = QStringLiteral("プリンターが見つかりません。");
        return works;
    }

    bool confirm = true;
    bool works = true;
    int pages = 0;
    std::int64_t total = 0;
};

class PrintCommandsTest : public ::testing::Test
{
protected:
    PrintCommandsTest()
        : doc(settings), recent(3), files(doc, settings, prompts, recent),
          form(doc, settings, prompts), printing(doc, form, settings, prompts, files, nullptr)
    {
        settings.DefaultPath = dir.filePath("history");
        settings.EntryPath = dir.path();
        QDir().mkpath(settings.DefaultPath);
        doc.NewDocument();
        for (int fare : {210, -3000, 480}) {
            auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'790'000'000));
            line->terminalType = 0x16; // card lines
            line->processType = fare < 0 ? 0x02 : 0x01;
            line->fare = fare;
            line->applyFlag = fare > 0 ? 1 : 0;
            doc.Data().lines.push_back(std::move(line));
        }
        Q_EMIT doc.Updated(CCorvaneDoc::HintRefill);
        prompts.fileNames = {dir.filePath("claim.ent")};
        files.SaveAs();
    }

    std::size_t Records() const
    {
        ApplyHistory stored;
        stored.Load(settings);
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
    StandInPrinter printer;
};
} // namespace

TEST_F(PrintCommandsTest, RealPrintRecordsClearsMarksAndSavesWithAutoSave)
{
    for (const bool autoSave : {false, true}) {
        SCOPED_TRACE(autoSave);
        settings.AutoSave = autoSave ? 1 : 0;
        form.SetAllChecks(true);
        ASSERT_EQ(form.CheckedCount(), 2);
        const std::size_t before = Records();
        ASSERT_TRUE(printing.Print(&printer));
        EXPECT_EQ(printer.total, 690);
        EXPECT_EQ(printer.pages, 1);
        EXPECT_EQ(Records(), before + 1);
        EXPECT_EQ(doc.History().Records().back().amount, 690);
        EXPECT_EQ(form.CheckedCount(), 0);
        EXPECT_EQ(doc.IsModified(), !autoSave);
        EXPECT_FALSE(form.UndoStack().canUndo()); // the cleared marks are not an edit
    }
}

TEST_F(PrintCommandsTest, CancelledOrFailedPrintChangesNothing)
{
    form.SetAllChecks(true);
    doc.SetModified(false);
    printer.confirm = false;
    EXPECT_FALSE(printing.Print(&printer));
    printer.confirm = true;
    printer.works = false;
    EXPECT_FALSE(printing.Print(&printer));
    EXPECT_EQ(prompts.asked.last(), "プリンターが見つかりません。");
    EXPECT_EQ(Records(), 0u);
    EXPECT_EQ(form.CheckedCount(), 2);
    EXPECT_FALSE(doc.IsModified());
}
