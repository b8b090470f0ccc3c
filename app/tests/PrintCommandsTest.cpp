#include "PrintCommands.h"

#include "AppSettings.h"
#include "ApplyHistory.h"
#include "ArchiveReader.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "ClaimPreviewDlg.h"
#include "ClaimPrinter.h"
#include "FileCommands.h"
#include "PdfText.h"
#include "PrintJob.h"
#include "RecentFiles.h"
#include "ScriptedPrompts.h"
#include "SuggestionPrompt.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{
// A printer that prints nothing: the dialog's answer, the pages chosen and
// what the print service would have said are the test's.
class StandInPrinter : public ClaimPrinter
{
public:
    std::optional<Pages> Choose(const PrintFormat&, int pageCount) override
    {
        pages = pageCount;
        if (!confirm)
            return std::nullopt;
        return Pages{first, last > 0 ? last : pageCount, kind == Outcome::Kind::SavedToFile};
    }
    Outcome Print(const PrintJob& job) override
    {
        total = job.Total();
        printedPages = job.PageCount();
        period = job.PeriodText();
        number = job.NumberText();
        Outcome outcome;
        outcome.kind = kind;
        outcome.error = QStringLiteral("プリンター lp0 が印刷を受け付けませんでした。");
        outcome.file = QStringLiteral("/tmp/claim.pdf");
        return outcome;
    }

    bool confirm = true;
    Outcome::Kind kind = Outcome::Kind::Printed;
    int first = 1;
    int last = 0;         // 0: every page
    int pages = 0;        // the claim's, offered in the dialog
    int printedPages = 0; // the job's that went out
    std::int64_t total = 0;
    QString period;
    QString number; // the application number the paper shows
};

std::unique_ptr<EntryInfo> Line(int fare, int serial, bool manual = false)
{
    auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'790'000'000 + serial));
    if (!manual) {
        line->terminalType = 0x16;
        line->processType = fare < 0 ? 0x02 : 0x01;
    }
    line->fare = fare;
    line->serialNumber = serial;
    line->applyFlag = fare > 0 || manual ? 1 : 0;
    return line;
}

class PrintCommandsTest : public ::testing::Test
{
protected:
    PrintCommandsTest()
        : doc(settings), recent(3), files(doc, settings, prompts, recent),
          form(doc, settings, prompts), printing(doc, form, settings, prompts, files, nullptr)
    {
        settings.DefaultPath = dir.filePath("history");
        settings.EntryPath = dir.path();
        settings.PostName = QStringLiteral("総務部");
        settings.IdNumber = QStringLiteral("A-1024");
        settings.Name = QStringLiteral("日野 月子");
        QDir().mkpath(settings.DefaultPath);
        doc.NewDocument();
        QObject::connect(&printing, &PrintCommands::Status,
                         [this](const QString& text) { status = text; });
    }

    // Opens a claim of these lines, saved as claim.ent.
    void Open(EntryLines lines)
    {
        doc.ReplaceLines(std::move(lines));
        prompts.fileNames = {dir.filePath("claim.ent")};
        ASSERT_TRUE(files.SaveAs());
    }

    void OpenThree() // 210, a charge, 480
    {
        EntryLines lines;
        lines.push_back(Line(210, 1));
        lines.push_back(Line(-3000, 2));
        lines.push_back(Line(480, 3));
        Open(std::move(lines));
    }

    std::vector<ApplyRecord> Records() const
    {
        ApplyHistory stored(settings);
        stored.Refresh();
        return stored.Records();
    }

    std::vector<int> SnapshotSerials(const ApplyRecord& record) const
    {
        QFile file(record.snapshotPath);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        EntryList snapshot;
        ArchiveReader in(file.readAll());
        snapshot.Read(in);
        std::vector<int> serials;
        for (const auto& line : snapshot.lines)
            serials.push_back(line->serialNumber);
        return serials;
    }

    std::vector<int> Marks() const
    {
        std::vector<int> marks;
        for (const auto& line : doc.Lines())
            marks.push_back(line->applyFlag);
        return marks;
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
    QString status;
};
} // namespace

TEST_F(PrintCommandsTest, RealPrintRecordsClearsMarksAndSavesWithAutoSave)
{
    settings.PostName = QStringLiteral("営業部");
    EXPECT_EQ(printing.Claimant()[0], "営業部");
    for (const bool autoSave : {false, true}) {
        SCOPED_TRACE(autoSave);
        // A history of its own each time: the same trips are not claimed twice.
        settings.DefaultPath = dir.filePath(autoSave ? "history2" : "history1");
        QDir().mkpath(settings.DefaultPath);
        OpenThree();
        settings.AutoSave = autoSave ? 1 : 0;
        ASSERT_EQ(form.CheckedCount(), 2);
        const std::size_t before = Records().size();
        ASSERT_TRUE(printing.Print(&printer)) << prompts.asked.join('|').toStdString();
        EXPECT_EQ(printer.total, 690);
        EXPECT_EQ(printer.pages, 1);
        ASSERT_EQ(Records().size(), before + 1);
        EXPECT_EQ(Records().back().amount, 690);
        // The paper shows the number and print time its record keeps.
        const ApplyRecord record = Records().back();
        EXPECT_EQ(record.id, "A00001");
        EXPECT_EQ(record.paper.claimant[0], "営業部");
        EXPECT_EQ(
            printer.number,
            "申請番号 A00001　" +
                QDateTime::fromSecsSinceEpoch(record.printed).toString("yyyy/MM/dd HH:mm:ss"));
        EXPECT_EQ(form.CheckedCount(), 0);
        EXPECT_EQ(status, "申請を記録しました (690円)");
        EXPECT_EQ(doc.IsModified(), !autoSave);
        // The cleared marks are one step of the claim's history.
        EXPECT_EQ(doc.UndoStack().undoText(), "申請済みのチェックを外す");
    }
}

// Nothing went out, or it went to a file: no record, marks and file as they were.
TEST_F(PrintCommandsTest, OnlyAnAcceptedPrintRecords)
{
    using Kind = ClaimPrinter::Outcome::Kind;
    struct Case {
        const char* name;
        bool confirm;
        Kind kind;
        const char* message;
        const char* status;
    };
    const Case cases[] = {
        {"dialog cancelled", false, Kind::Printed, "", ""},
        {"job refused", true, Kind::Failed, "プリンター lp0 が印刷を受け付けませんでした。", ""},
        {"output to a PDF file", true, Kind::SavedToFile, "",
         "PDFファイル /tmp/claim.pdf に保存しました（申請は記録していません）"},
    };
    settings.AutoSave = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenThree();
        prompts.asked.clear();
        status.clear();
        printer.confirm = c.confirm;
        printer.kind = c.kind;
        printer.number = "unset";
        EXPECT_FALSE(printing.Print(&printer));
        // A print to a file is no application: its pages carry no number.
        if (c.kind == Kind::SavedToFile) {
            EXPECT_EQ(printer.number, "");
        }
        EXPECT_EQ(prompts.asked.value(0), QString::fromUtf8(c.message));
        EXPECT_EQ(status, QString::fromUtf8(c.status));
        EXPECT_TRUE(Records().empty());
        EXPECT_EQ(Marks(), (std::vector<int>{1, 0, 1}));
        EXPECT_FALSE(doc.IsModified());
        EXPECT_FALSE(doc.UndoStack().canUndo());
    }
}

// A print whose record the history would not take: a damaged history or a
// folder out of reach stops it before any paper; a history another program
// holds past the wait is told after it. Either way nothing is recorded and
// the marks and the claim stay as they were.
TEST_F(PrintCommandsTest, APrintThatCannotBeRecordedChangesNothing)
{
    const QString history = settings.DefaultPath;
    struct Case {
        const char* name;
        std::function<void()> arrange;
        bool printed;
        const char* told;
    };
    std::unique_ptr<QLockFile> other;
    const Case cases[] = {
        {"a damaged history",
         [&] {
             QDir().mkpath(history + "/ApplyHistory");
             QFile file(history + "/ApplyHistory/Apply.hst");
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("foreign content");
         },
         false, "壊れています"},
        {"a folder out of reach", [&] { settings.DefaultPath = dir.filePath("unmounted"); }, false,
         "見つかりません"},
        {"a busy history",
         [&] {
             QDir().mkpath(history + "/ApplyHistory");
             other = std::make_unique<QLockFile>(history + "/ApplyHistory/Apply.hst.lock");
             ASSERT_TRUE(other->tryLock(0));
             qputenv("FENWIR_LOCK_WAIT_MS", "0");
         },
         true, "別のプログラムが書き込み中"},
    };
    settings.AutoSave = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings.DefaultPath = history;
        QDir(history + "/ApplyHistory").removeRecursively();
        OpenThree();
        prompts.asked.clear();
        printer.pages = 0;
        c.arrange();
        EXPECT_FALSE(printing.Print(&printer));
        qunsetenv("FENWIR_LOCK_WAIT_MS");
        other.reset();
        EXPECT_EQ(printer.pages > 0, c.printed);
        ASSERT_FALSE(prompts.asked.isEmpty());
        EXPECT_TRUE(prompts.asked.last().contains(QString::fromUtf8(c.told)))
            << prompts.asked.last().toStdString();
        EXPECT_EQ(Marks(), (std::vector<int>{1, 0, 1}));
        EXPECT_FALSE(doc.IsModified());
        settings.DefaultPath = history;
        EXPECT_TRUE(Records().empty());
    }
}

// The record is the printed claim: with 全て表示 unticked a 0-yen line is
// not printed, so it is neither in the snapshot nor loses its mark.
TEST_F(PrintCommandsTest, SnapshotHoldsExactlyThePrintedLines)
{
    EntryLines lines;
    lines.push_back(Line(210, 1));
    lines.push_back(Line(0, 2, true)); // a manual line at 0 yen, marked
    lines.push_back(Line(480, 3));
    Open(std::move(lines));
    form.ShowAllBox().click();
    ASSERT_TRUE(printing.Print(&printer));
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(SnapshotSerials(records[0]), (std::vector<int>{1, 3}));
    EXPECT_EQ(records[0].amount, 690);
    EXPECT_EQ(Marks(), (std::vector<int>{0, 1, 0}));
}

// Selected rows do not matter to a print: only the printed lines lose their
// marks, no line gains one.
TEST_F(PrintCommandsTest, SelectionDoesNotChangeWhatIsCleared)
{
    EntryLines lines;
    for (int i = 0; i < 4; ++i)
        lines.push_back(Line(100 + i, i));
    lines[1]->applyFlag = 0; // the user unticked it
    Open(std::move(lines));
    form.SelectRows({0, 2});
    ASSERT_TRUE(printing.Print(&printer));
    EXPECT_EQ(Marks(), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(SnapshotSerials(Records()[0]), (std::vector<int>{0, 2, 3}));
}

// Some pages of a claim print as the claim of their lines: the form's total
// is the sum of exactly the lines printed, and that is what is recorded.
TEST_F(PrintCommandsTest, PageRangeRecordsTheLinesOnThosePages)
{
    EntryLines lines;
    for (int i = 0; i < 25; ++i) // two pages of 20 rows
        lines.push_back(Line(100, i));
    Open(std::move(lines));
    printer.first = printer.last = 2;
    ASSERT_TRUE(printing.Print(&printer));
    EXPECT_EQ(printer.pages, 2);
    EXPECT_EQ(printer.printedPages, 1);
    EXPECT_EQ(printer.total, 500);
    EXPECT_EQ(SnapshotSerials(Records()[0]), (std::vector<int>{20, 21, 22, 23, 24}));
    EXPECT_EQ(Records()[0].amount, 500);
    EXPECT_EQ(form.CheckedCount(), 20);
    EXPECT_EQ(doc.Lines()[19]->applyFlag, 1);
    EXPECT_EQ(doc.Lines()[20]->applyFlag, 0);
}

// A recorded application opened again prints as a copy of the record: it
// records nothing, keeps its marks and is not saved over.
TEST_F(PrintCommandsTest, ARecordPrintsAsACopy)
{
    OpenThree();
    ASSERT_TRUE(printing.Print(&printer));
    const QString snapshot = Records()[0].snapshotPath;
    QFile file(snapshot);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray recorded = file.readAll();
    file.close();

    ASSERT_TRUE(files.OpenPath(snapshot, false));
    settings.AutoSave = 1;
    printer.pages = 0;
    EXPECT_FALSE(printing.Print(&printer));
    EXPECT_EQ(printer.pages, 1);   // it was printed
    EXPECT_EQ(printer.number, ""); // a copy is not an application
    EXPECT_EQ(Records().size(), 1u);
    EXPECT_EQ(status, "申請の記録を印刷しました（申請は追加していません）");
    EXPECT_EQ(form.CheckedCount(), 2);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), recorded);
}

// A record changed (here a card read into it) is no longer the record: it
// is a new untitled claim whose print is recorded like any other.
TEST_F(PrintCommandsTest, AChangedRecordIsANewClaim)
{
    OpenThree();
    ASSERT_TRUE(printing.Print(&printer));
    const QString snapshot = Records()[0].snapshotPath;
    ASSERT_TRUE(files.OpenPath(snapshot, false));
    int left = 0;
    QObject::connect(&doc, &CCorvaneDoc::LeftRecord, [&] { ++left; });

    EntryLines read;
    read.push_back(Line(320, 4));
    doc.AppendLines(std::move(read), QStringLiteral("カード読込"));
    EXPECT_EQ(left, 1);
    EXPECT_FALSE(doc.IsRecordedApplication());
    EXPECT_EQ(doc.Title(), "無題");
    EXPECT_TRUE(doc.IsModified());
    doc.UndoStack().undo(); // back to the record's lines: still a claim to save
    EXPECT_TRUE(doc.IsModified());
    doc.UndoStack().redo();

    doc.SetMarks({{0, false}, {1, false}}, QStringLiteral("untick")); // claimed before
    EXPECT_TRUE(printing.Print(&printer));
    EXPECT_TRUE(prompts.asked.isEmpty());
    ASSERT_EQ(Records().size(), 2u);
    EXPECT_EQ(SnapshotSerials(Records()[1]), (std::vector<int>{4}));
    EXPECT_EQ(status, "申請を記録しました (320円)");
}

// Trips claimed already (ticked again, or brought back by undo) are printed
// and recorded again only after the user's yes.
TEST_F(PrintCommandsTest, ClaimedTripsAreClaimedAgainOnlyOnYes)
{
    OpenThree();
    ASSERT_TRUE(printing.Print(&printer));
    doc.UndoStack().undo(); // the marks are back
    ASSERT_EQ(form.CheckedCount(), 2);
    prompts.answers = {Prompts::Answer::No};
    printer.pages = 0;
    EXPECT_FALSE(printing.Print(&printer));
    EXPECT_EQ(prompts.asked.last(),
              "申請済みの明細が 2 件含まれています。印刷して、もう一度申請しますか？");
    EXPECT_EQ(printer.pages, 0); // not even the print dialog
    EXPECT_EQ(Records().size(), 1u);
    prompts.answers = {Prompts::Answer::Yes};
    EXPECT_TRUE(printing.Print(&printer));
    EXPECT_EQ(Records().size(), 2u);
}

// A visit destination suggested and never confirmed prints only when the user
// confirms it first; otherwise it prints empty, and the record holds what
// the paper shows.
TEST_F(PrintCommandsTest, SuggestedVisitsPrintOnlyConfirmed)
{
    const auto recordedVisits = [this] {
        QStringList visits;
        for (const ApplyRecord& record : Records()) {
            QFile file(record.snapshotPath);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            EntryList snapshot;
            ArchiveReader in(file.readAll());
            snapshot.Read(in);
            visits << snapshot.lines[0]->visitDestination;
        }
        return visits;
    };
    const struct {
        Prompts::Answer answer;
        bool printed;
        const char* recorded;
        bool stillSuggested;
    } cases[] = {
        {Prompts::Answer::Cancel, false, nullptr, true},
        {Prompts::Answer::No, true, "", true},
        {Prompts::Answer::Yes, true, "横浜支店", false},
    };
    int serial = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        EntryLines lines; // a trip of its own each time, never claimed before
        lines.push_back(Line(210, ++serial));
        lines[0]->visitDestination = QStringLiteral("横浜支店");
        lines[0]->visitSuggested = true;
        Open(std::move(lines));
        prompts.answers = {c.answer};
        printer.pages = 0;
        EXPECT_EQ(printing.Print(&printer), c.printed);
        EXPECT_EQ(prompts.asked.last(), SuggestionPrompt::Question(1, QStringLiteral("印刷")));
        EXPECT_EQ(printer.pages > 0, c.printed); // the print dialog only after an answer
        EXPECT_EQ(doc.Lines()[0]->visitSuggested, c.stillSuggested);
        if (c.recorded) {
            EXPECT_EQ(recordedVisits().value(recordedVisits().size() - 1),
                      QString::fromUtf8(c.recorded));
        }
    }
}

// The preview's own print button is the print command: it records.
TEST_F(PrintCommandsTest, PreviewPrintsOnlyThroughThePrintCommand)
{
    OpenThree();
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<ClaimPreviewDlg*>(widget))
                preview->findChild<QAction*>("previewPrint")->trigger();
    });
    printing.Preview(&printer);
    EXPECT_EQ(Records().size(), 1u);
    EXPECT_EQ(form.CheckedCount(), 0);

    OpenThree();
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<ClaimPreviewDlg*>(widget))
                preview->reject();
    });
    printing.Preview(&printer);
    EXPECT_EQ(Records().size(), 1u); // a preview alone records nothing
    EXPECT_EQ(form.CheckedCount(), 2);
}

// The list's period heads what is printed, previewed and saved as PDF.
TEST_F(PrintCommandsTest, ThePeriodShownIsThePeriodPrinted)
{
    const QString period = QStringLiteral("対象期間 2026年9月1日～2026年9月30日");
    OpenThree();
    form.SetPeriod(CCorvaneForm::Period::Range, QDate(2026, 9, 1), QDate(2026, 9, 30));
    ASSERT_EQ(form.CheckedCount(), 2);
    QString previewed;
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<ClaimPreviewDlg*>(widget)) {
                previewed = preview->Job().PeriodText();
                preview->reject();
            }
    });
    printing.Preview(&printer);
    EXPECT_EQ(previewed, period);

    const QString pdf = dir.filePath("claim.pdf");
    prompts.fileNames = {pdf};
    ASSERT_TRUE(printing.SavePdf());
    if (CanReadPdfText()) {
        EXPECT_TRUE(PdfText(pdf).contains(period)) << PdfText(pdf).toStdString();
    }

    ASSERT_TRUE(printing.Print(&printer));
    EXPECT_EQ(printer.period, period);

    // The whole history: the first and last day of the lines printed.
    OpenThree();
    form.SetPeriod(CCorvaneForm::Period::All);
    prompts.answers = {Prompts::Answer::Yes};
    ASSERT_TRUE(printing.Print(&printer));
    EXPECT_EQ(printer.period, "対象期間 2026年9月21日～2026年9月21日");
}

// A print whose claimant is not filled in asks first: fill it in (the
// dialog; its OK prints), print as is (not asked again this run), or stop.
TEST_F(PrintCommandsTest, AnEmptyClaimantIsAskedForBeforePrinting)
{
    settings.IdNumber.clear();
    settings.Name.clear();
    int edited = 0;
    bool editorOk = false;
    printing.SetClaimantEditor([&] {
        ++edited;
        return editorOk;
    });
    struct Case {
        const char* what;
        Prompts::Answer answer;
        bool editorOk;
        bool printed;
        int edited;
    };
    const Case cases[] = {
        {"cancelled", Prompts::Answer::Cancel, false, false, 0},
        {"filled in, then cancelled", Prompts::Answer::Yes, false, false, 1},
        {"filled in", Prompts::Answer::Yes, true, true, 1},
        {"as is", Prompts::Answer::No, false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings.DefaultPath = dir.filePath(c.what);
        QDir().mkpath(settings.DefaultPath);
        OpenThree();
        prompts.asked.clear();
        prompts.answers = {c.answer};
        edited = 0;
        editorOk = c.editorOk;
        EXPECT_EQ(printing.Print(&printer), c.printed);
        EXPECT_EQ(prompts.asked.value(0),
                  PrintCommands::MissingClaimantQuestion({"社員番号", "氏名"}));
        EXPECT_EQ(edited, c.edited);
    }
    // Printed as is once: not asked again.
    settings.DefaultPath = dir.filePath("again");
    QDir().mkpath(settings.DefaultPath);
    OpenThree();
    prompts.asked.clear();
    EXPECT_TRUE(printing.Print(&printer));
    EXPECT_TRUE(prompts.asked.filter("申請者情報").isEmpty());
}
