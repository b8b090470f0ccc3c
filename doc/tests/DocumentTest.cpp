#include "AppSettings.h"
#include "ArchiveReader.h"
#include "CCorvaneDoc.h"
#include "EntryList.h"
#include "EntrySamples.h"
#include "HistoryFile.h"
#include "PrintedClaim.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace
{
std::vector<const EntryInfo*> Pointers(const EntryLines& lines)
{
    std::vector<const EntryInfo*> pointers;
    for (const auto& line : lines)
        pointers.push_back(line.get());
    return pointers;
}

class DocumentTest : public ::testing::Test
{
protected:
    DocumentTest() : doc(settings)
    {
        settings.DefaultPath = dir.path();
        QObject::connect(&doc, &CCorvaneDoc::LinesReset, [this] { ++resets; });
    }

    QString ApplyFolder() const { return dir.filePath("ApplyHistory"); }

    EntryList ReadSnapshot(const QString& path) const
    {
        EntryList snapshot;
        ArchiveReader in(ReadAll(path));
        snapshot.Read(in);
        return snapshot;
    }

    QTemporaryDir dir;
    AppSettings settings;
    CCorvaneDoc doc;
    int resets = 0;
    QString error;
};
} // namespace

TEST_F(DocumentTest, SaveAndLoad)
{
    doc.NewDocument();
    EXPECT_EQ(doc.Title(), "無題");
    EXPECT_FALSE(doc.Layout().IsEmpty()); // the first new document loads the layout
    doc.ReplaceLines(SampleLines(3));
    doc.SetMarks({{0, false}}, "untick");
    ASSERT_TRUE(doc.IsModified());
    const QString path = dir.filePath("claim.ent");
    ASSERT_TRUE(doc.Save(path, &error)) << error.toStdString();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Title(), "claim.ent");

    CCorvaneDoc other(settings);
    int otherResets = 0;
    QObject::connect(&other, &CCorvaneDoc::LinesReset, [&] { ++otherResets; });
    ASSERT_TRUE(other.Load(path, &error));
    EXPECT_EQ(otherResets, 1);
    ASSERT_EQ(other.Lines().size(), 3u);
    EXPECT_EQ(*other.Lines()[2], *doc.Lines()[2]);
    EXPECT_EQ(other.Lines()[0]->applyFlag, 0);
    EXPECT_EQ(other.Path(), path);
    EXPECT_FALSE(other.IsModified());
}

TEST_F(DocumentTest, ForbiddenStoredMarksAreDroppedOnOpening)
{
    EntryLines lines = SampleLines(2);
    lines[1]->processType = 0x07; // an issue may never be claimed
    doc.ReplaceLines(std::move(lines));
    EXPECT_EQ(doc.Lines()[1]->applyFlag, 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.SetMarks({{1, true}}, "tick")); // and cannot be ticked
}

TEST_F(DocumentTest, DocumentWithoutLinesIsNotSaved)
{
    const QString path = dir.filePath("old.ent");
    WriteAll(path, "previous");
    EXPECT_FALSE(doc.Save(path, &error));
    EXPECT_EQ(error, "ドキュメントの保存に失敗しました。");
    EXPECT_EQ(ReadAll(path), "previous");
}

TEST_F(DocumentTest, SaveToAMissingFolderNamesTheFile)
{
    doc.ReplaceLines(SampleLines(1));
    EXPECT_FALSE(doc.Save(dir.filePath("no/such/folder/x.ent"), &error));
    EXPECT_TRUE(error.contains("no/such/folder/x.ent"));
}

TEST_F(DocumentTest, LoadFailures)
{
    doc.ReplaceLines(SampleLines(2));
    ASSERT_TRUE(doc.Save(dir.filePath("mine.ent"), &error));

    resets = 0;
    EXPECT_FALSE(doc.Load(dir.filePath("missing.ent"), &error));
    EXPECT_TRUE(error.contains("missing.ent"));
    EXPECT_EQ(doc.Lines().size(), 2u); // an unopened file changes nothing
    EXPECT_EQ(doc.Path(), dir.filePath("mine.ent"));
    EXPECT_EQ(resets, 0);

    // Neither a file of another format nor a damaged claim replaces the open one.
    WriteAll(dir.filePath("foreign.ent"), "not an expense file");
    QFile mine(dir.filePath("mine.ent"));
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    WriteAll(dir.filePath("cut.ent"), mine.readAll().chopped(7));
    doc.InsertLine(0, std::make_unique<EntryInfo>(EntryInfo::ManualLine(0)));
    for (const char* name : {"foreign.ent", "cut.ent"}) {
        error.clear();
        EXPECT_FALSE(doc.Load(dir.filePath(name), &error));
        EXPECT_EQ(error, "予期しないファイル形式です。");
        EXPECT_EQ(doc.Lines().size(), 3u) << name;
        EXPECT_EQ(doc.Path(), dir.filePath("mine.ent"));
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(doc.UndoStack().canUndo());
        EXPECT_EQ(resets, 0);
    }
}

TEST_F(DocumentTest, RecordApplicationWritesSnapshotOfThePrintedLines)
{
    doc.NewDocument();
    EntryLines lines = SampleLines(5, 3); // two claimed: 0 and 3
    doc.ReplaceLines(std::move(lines));
    const std::vector<const EntryInfo*> printed = {doc.Lines()[3].get(), doc.Lines()[1].get()};
    ASSERT_TRUE(doc.RecordApplication(printed));
    ASSERT_TRUE(doc.RecordApplication(printed)); // same second: a second snapshot

    const QStringList snapshots =
        QDir(ApplyFolder()).entryList({"Apply*.ent"}, QDir::Files, QDir::Name);
    ASSERT_EQ(snapshots.size(), 2);
    const auto& records = doc.History().Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].snapshotPath, records[1].snapshotPath);
    EXPECT_EQ(records[0].documentTime, doc.Data().documentTime);
    EXPECT_EQ(records[1].amount, 203 + 201);
    EXPECT_TRUE(QFileInfo(records[0].snapshotPath).fileName().startsWith("Apply"));

    // Exactly the printed lines, in the order printed, whatever their marks.
    const EntryList snapshot = ReadSnapshot(records[0].snapshotPath);
    ASSERT_EQ(snapshot.lines.size(), 2u);
    EXPECT_EQ(snapshot.lines[0]->serialNumber, 3);
    EXPECT_EQ(snapshot.lines[1]->serialNumber, 1);
    EXPECT_EQ(snapshot.documentTime, doc.Data().documentTime);
    EXPECT_EQ(snapshot.kind, EntryList::Snapshot);

    ApplyHistory stored(settings);
    EXPECT_TRUE(stored.Refresh());
    EXPECT_EQ(stored.Records(), records);
}

TEST_F(DocumentTest, EmptyDocumentRecordsNothing)
{
    EXPECT_FALSE(doc.RecordApplication({}));
    EXPECT_TRUE(doc.History().Records().empty());
    EXPECT_TRUE(QDir(ApplyFolder()).entryList({"Apply*.ent"}).isEmpty());
}

TEST_F(DocumentTest, HistoryOfEarlierRunsSurvivesARunStartedByOpening)
{
    QDir().mkpath(ApplyFolder());
    WriteAll(ApplyFolder() + "/Apply.hst",
             HistoryFile::Serialize({{{1, 100, "/earlier/Apply261001-090000.ent"}}, {}}));

    doc.ReplaceLines(SampleLines(1));
    ASSERT_TRUE(doc.Save(dir.filePath("c.ent"), &error));
    CCorvaneDoc opened(settings); // no NewDocument: the run began with a file
    ASSERT_TRUE(opened.Load(dir.filePath("c.ent"), &error));
    ASSERT_TRUE(opened.RecordApplication(Pointers(opened.Lines())));
    ApplyHistory stored(settings);
    ASSERT_TRUE(stored.Refresh());
    ASSERT_EQ(stored.Records().size(), 2u);
    EXPECT_EQ(stored.Records()[0].amount, 100);
    EXPECT_EQ(stored.Records()[1].amount, 200);
}

// After a print: a record of exactly the printed lines, only their marks
// cleared (undoably), the claim saved when asked.
TEST_F(DocumentTest, PrintedClaimClearsExactlyThePrintedMarks)
{
    doc.ReplaceLines(SampleLines(4)); // all four claimed
    const std::vector<const EntryInfo*> printed = {doc.Lines()[1].get(), doc.Lines()[2].get()};
    int saves = 0;
    const PrintedClaim result = RecordPrintedClaim(doc, printed, [&] {
        ++saves;
        return doc.Save(dir.filePath("after.ent"), &error);
    });
    EXPECT_TRUE(result.recorded);
    EXPECT_TRUE(result.saved);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(result.total, 201 + 202);
    EXPECT_EQ(result.StatusText(), "申請を記録しました (403円)");
    std::vector<int> marks;
    for (const auto& line : doc.Lines())
        marks.push_back(line->applyFlag);
    EXPECT_EQ(marks, (std::vector<int>{1, 0, 0, 1}));
    EXPECT_FALSE(doc.IsModified());
    doc.UndoStack().undo(); // the marks come back; the record stays
    EXPECT_EQ(doc.Lines()[1]->applyFlag, 1);
    EXPECT_EQ(doc.History().Records().size(), 1u);

    // Nothing printed: nothing recorded, nothing changed, nothing saved.
    const PrintedClaim none = RecordPrintedClaim(doc, {}, [&] { return ++saves > 0; });
    EXPECT_FALSE(none.recorded);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(doc.History().Records().size(), 1u);
}

TEST_F(DocumentTest, RecordedApplicationIsNeverOverwritten)
{
    doc.ReplaceLines(SampleLines(2));
    ASSERT_TRUE(doc.RecordApplication(Pointers(doc.Lines())));
    const QString snapshot = doc.History().Records()[0].snapshotPath;
    const QByteArray recorded = ReadAll(snapshot);

    // Not by the claim that was printed...
    EXPECT_FALSE(doc.Save(snapshot, &error));
    EXPECT_EQ(error, CCorvaneDoc::SnapshotProtectedMessage());

    // ...nor by the snapshot itself, opened, changed and saved.
    CCorvaneDoc opened(settings);
    ASSERT_TRUE(opened.Load(snapshot, &error));
    EXPECT_TRUE(opened.IsRecordedApplication());
    opened.SetMarks({{0, false}}, "untick");
    EXPECT_FALSE(opened.Save(snapshot, &error));
    EXPECT_EQ(ReadAll(snapshot), recorded);
    // Under a new name it becomes a claim of its own.
    ASSERT_TRUE(opened.Save(dir.filePath("copy.ent"), &error));
    EXPECT_FALSE(opened.IsRecordedApplication());
    EXPECT_EQ(ReadAll(snapshot), recorded);

    // ...nor once the folder moved and the snapshot is found beside the history.
    QTemporaryDir moved;
    ASSERT_TRUE(QDir().rename(ApplyFolder(), moved.filePath("ApplyHistory")));
    settings.DefaultPath = moved.path();
    const QString beside = moved.filePath("ApplyHistory/") + QFileInfo(snapshot).fileName();
    EXPECT_FALSE(doc.Save(beside, &error));
    EXPECT_EQ(ReadAll(beside), recorded);
}

// Another program (the command line) records an application while this one
// runs: its record is kept, and its trips count as claimed.
TEST_F(DocumentTest, RecordsOfAnotherProgramAreKept)
{
    doc.ReplaceLines(SampleLines(3));
    ASSERT_TRUE(doc.RecordApplication({doc.Lines()[0].get()}));
    CCorvaneDoc other(settings);
    other.ReplaceLines(SampleLines(3));
    ASSERT_TRUE(other.RecordApplication({other.Lines()[1].get()}));

    EXPECT_TRUE(doc.AppliedOn(*doc.Lines()[0]));
    doc.RefreshHistory();
    EXPECT_TRUE(doc.AppliedOn(*doc.Lines()[1]));
    ASSERT_TRUE(doc.RecordApplication({doc.Lines()[2].get()}));
    ApplyHistory stored(settings);
    ASSERT_TRUE(stored.Refresh());
    EXPECT_EQ(stored.Records().size(), 3u);
}

// Two trips made by hand with the same day, stations and fare are two trips:
// claiming one leaves the other unclaimed and editable, now and in a later run.
TEST_F(DocumentTest, IdenticalHandMadeTripsAreClaimedOneByOne)
{
    EntryLines lines;
    for (const int minute : {0, 1}) { // added a minute apart
        auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'793'545'200 + 60 * minute));
        line->entryStationName = QStringLiteral("東京");
        line->exitStationName = QStringLiteral("横浜");
        line->fare = 480;
        lines.push_back(std::move(line));
    }
    doc.ReplaceLines(std::move(lines));
    ASSERT_TRUE(RecordPrintedClaim(doc, {doc.Lines()[0].get()}, {}).recorded);
    EXPECT_TRUE(doc.AppliedOn(*doc.Lines()[0]));
    EXPECT_FALSE(doc.AppliedOn(*doc.Lines()[1]));
    EntryInfo edited = *doc.Lines()[1];
    edited.fare = 500;
    EXPECT_TRUE(doc.EditLine(1, edited));

    CCorvaneDoc later(settings);
    EXPECT_TRUE(later.AppliedOn(*doc.Lines()[0]));
    EXPECT_FALSE(later.AppliedOn(*doc.Lines()[1]));
}

// A history found damaged or out of reach is said once, naming the file or
// folder, and no application is recorded until it is whole again.
TEST_F(DocumentTest, AHistoryProblemIsToldAndRecordsNothing)
{
    QStringList told;
    QObject::connect(&doc, &CCorvaneDoc::HistoryProblemFound,
                     [&](const QString& text) { told << text; });
    QDir().mkpath(ApplyFolder());
    WriteAll(ApplyFolder() + "/Apply.hst", "foreign content");
    doc.NewDocument();
    doc.ReplaceLines(SampleLines(2));
    doc.RefreshHistory();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QDir::toNativeSeparators(ApplyFolder() + "/Apply.hst")))
        << told[0].toStdString();
    EXPECT_FALSE(doc.RecordApplication(Pointers(doc.Lines()), &error));
    EXPECT_EQ(error, told[0]);
    EXPECT_EQ(told.size(), 1);
    EXPECT_EQ(ReadAll(ApplyFolder() + "/Apply.hst"), "foreign content");

    QString report;
    ASSERT_TRUE(doc.RepairHistory(&report)) << report.toStdString();
    EXPECT_TRUE(doc.WhyNotRecordable().isEmpty());
    EXPECT_TRUE(doc.RecordApplication(Pointers(doc.Lines()), &error)) << error.toStdString();

    settings.DefaultPath = dir.filePath("unmounted");
    EXPECT_FALSE(doc.WhyNotRecordable().isEmpty());
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[1].contains(QDir::toNativeSeparators(dir.filePath("unmounted"))))
        << told[1].toStdString();
}

// What a recorded application claimed stays as claimed, whatever path an
// edit takes: the date, stations and fare are refused, the visit destination
// and remarks are not, and the mark is never set again behind the user's back.
TEST_F(DocumentTest, AClaimedLineKeepsWhatWasClaimed)
{
    EntryInfo manual = EntryInfo::ManualLine(1'793'545'200);
    manual.entryStationName = QStringLiteral("東京");
    manual.exitStationName = QStringLiteral("横浜");
    manual.fare = 480;
    EntryLines lines;
    lines.push_back(std::make_unique<EntryInfo>(manual));
    lines.push_back(std::make_unique<EntryInfo>(SampleCardLine(1)));
    doc.ReplaceLines(std::move(lines));
    const std::vector<const EntryInfo*> printed = Pointers(doc.Lines());
    ASSERT_TRUE(RecordPrintedClaim(doc, printed, {}).recorded);

    struct Case {
        const char* what;
        std::function<void(EntryInfo&)> edit;
    };
    const Case refused[] = {
        {"exit station", [](EntryInfo& l) { l.exitStationName = QStringLiteral("川崎"); }},
        {"entry station", [](EntryInfo& l) { l.entryStationName = QStringLiteral("品川"); }},
        {"line name", [](EntryInfo& l) { l.exitLineName = QStringLiteral("京浜東北線"); }},
        {"company", [](EntryInfo& l) { l.entryCompanyName = QStringLiteral("東急"); }},
        {"fare", [](EntryInfo& l) { l.fare += 10; }},
        {"date", [](EntryInfo& l) { l.dateTime += 86400; }},
        {"codes", [](EntryInfo& l) { l.terminalType = 0x05; }},
    };
    for (std::size_t position : {0u, 1u}) {
        const EntryInfo claimed = *doc.Lines()[position];
        const int steps = doc.UndoStack().count();
        for (const Case& c : refused) {
            EntryInfo edited = claimed;
            c.edit(edited);
            edited.remarks = QStringLiteral("変更");
            EXPECT_FALSE(doc.EditLine(position, edited)) << c.what << " " << position;
            EXPECT_EQ(*doc.Lines()[position], claimed) << c.what;
        }
        EXPECT_EQ(doc.UndoStack().count(), steps);

        EntryInfo texts = claimed;
        texts.visitDestination = QStringLiteral("みどり商事");
        texts.remarks = QStringLiteral("再訪");
        texts.applyFlag = 1; // the dialog of an earlier version ticked every edit
        ASSERT_TRUE(doc.EditLine(position, texts)) << position;
        EXPECT_EQ(doc.Lines()[position]->visitDestination, "みどり商事");
        EXPECT_EQ(doc.Lines()[position]->remarks, "再訪");
        EXPECT_EQ(doc.Lines()[position]->applyFlag, 0);
        EXPECT_TRUE(doc.AppliedOn(*doc.Lines()[position]));
    }

    // A line never claimed is edited freely.
    doc.InsertLine(2, std::make_unique<EntryInfo>(SampleCardLine(7)));
    EntryInfo free = *doc.Lines()[2];
    free.exitStationName = QStringLiteral("川崎");
    EXPECT_TRUE(doc.EditLine(2, free));
}
