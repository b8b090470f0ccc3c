#include "FileCommands.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "RecentFiles.h"
#include "ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class FileCommandsTest : public ::testing::Test
{
protected:
    FileCommandsTest() : doc(settings), recent(3), files(doc, settings, prompts, recent)
    {
        settings.EntryPath = dir.path();
        doc.NewDocument();
    }

    void AddLine(int fare)
    {
        auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'700'000'000));
        line->fare = fare;
        line->applyFlag = 1;
        doc.InsertLine(doc.Lines().size(), std::move(line));
    }

    QTemporaryDir dir;
    AppSettings settings;
    CCorvaneDoc doc;
    ScriptedPrompts prompts;
    RecentFiles recent;
    FileCommands files;
};
} // namespace

TEST_F(FileCommandsTest, FirstSaveProposesATimestampedName)
{
    AddLine(100);
    QDir().mkpath(dir.filePath("elsewhere"));
    prompts.fileNames = {dir.filePath("elsewhere/mine.ent")};
    ASSERT_TRUE(files.Save());
    ASSERT_EQ(prompts.proposals.size(), 1);
    EXPECT_TRUE(QRegularExpression(
                    QRegularExpression::anchoredPattern(QRegularExpression::escape(dir.path()) +
                                                        "/Entry\\d{6}-\\d{6}\\.ent"))
                    .match(prompts.proposals[0])
                    .hasMatch())
        << prompts.proposals[0].toStdString();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(settings.EntryPath, dir.filePath("elsewhere")); // the next prompt starts there
    EXPECT_EQ(recent.Paths().value(0), dir.filePath("elsewhere/mine.ent"));

    // Saving again writes there without asking.
    AddLine(200);
    ASSERT_TRUE(files.Save());
    EXPECT_EQ(prompts.proposals.size(), 1);
}

TEST_F(FileCommandsTest, UnsavedChangesAreAskedAbout)
{
    AddLine(100);
    // Cancel stops the new claim; nothing is lost.
    prompts.answers = {Prompts::Answer::Cancel};
    EXPECT_FALSE(files.New());
    EXPECT_EQ(prompts.asked.last(), "無題 への変更を保存しますか?");
    EXPECT_EQ(doc.Lines().size(), 1u);

    // Yes, then cancelling the save dialog, also keeps everything.
    prompts.answers = {Prompts::Answer::Yes};
    EXPECT_FALSE(files.New());
    EXPECT_EQ(doc.Lines().size(), 1u);

    prompts.answers = {Prompts::Answer::No};
    EXPECT_TRUE(files.New());
    EXPECT_TRUE(doc.Lines().empty());
}

TEST_F(FileCommandsTest, DamagedFileIsReportedAndNothingIsOverwritten)
{
    const QString damaged = dir.filePath("damaged.ent");
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a claim at all");
    }
    AddLine(100);
    prompts.answers = {Prompts::Answer::No};
    EXPECT_FALSE(files.OpenPath(damaged));
    EXPECT_TRUE(prompts.asked.last().contains("予期しないファイル形式です。"));
    EXPECT_EQ(doc.Lines().size(), 1u); // the open claim stays, unsaved as it was
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Title(), "無題");
    EXPECT_FALSE(recent.Paths().contains(damaged));

    EXPECT_FALSE(files.OpenPath(dir.filePath("missing.ent"), false));
    EXPECT_TRUE(prompts.asked.last().contains("missing.ent"));
}

// A claim whose marks of suggested visit destinations were damaged opens and
// says so; its destinations wait, as suggestions, for the user to confirm.
TEST_F(FileCommandsTest, UnreadableSuggestionMarksAreSaid)
{
    AddLine(100);
    AddLine(200);
    EntryInfo visited = *doc.Lines()[0];
    visited.visitDestination = QStringLiteral("横浜支店");
    ASSERT_TRUE(doc.EditLine(0, visited)); // typed: the user's own
    const QString path = dir.filePath("claim.ent");
    prompts.fileNames = {path};
    ASSERT_TRUE(files.Save());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QByteArray(1, '\x01')); // after the lines: no whole list of marks
    file.close();

    ASSERT_TRUE(files.OpenPath(path, false));
    ASSERT_FALSE(prompts.asked.isEmpty());
    EXPECT_EQ(prompts.asked.last(),
              path + "\n\n訪問先の候補の印を読み取れませんでした。"
                     "訪問先のある明細 1 件の訪問先は、確定するまで候補として扱います。");
    ASSERT_EQ(doc.Lines().size(), 2u);
    EXPECT_TRUE(doc.Lines()[0]->visitSuggested);
    EXPECT_FALSE(doc.Lines()[1]->visitSuggested); // no destination, nothing to suggest
}

// A recorded application is a record: Save asks for a new name, and the
// snapshot itself is never written over.
TEST_F(FileCommandsTest, SavingARecordedApplicationAsksForANewName)
{
    settings.DefaultPath = dir.path();
    AddLine(300);
    ASSERT_TRUE(doc.RecordApplication({doc.Lines()[0].get()}));
    const QString snapshot = doc.History().Records()[0].snapshotPath;
    ASSERT_TRUE(files.OpenPath(snapshot, false));
    doc.SetMarks({{0, false}}, QStringLiteral("untick"));

    prompts.fileNames = {snapshot}; // the user picks the snapshot's own name
    EXPECT_FALSE(files.Save());
    EXPECT_EQ(prompts.asked.last(), CCorvaneDoc::SnapshotProtectedMessage());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(prompts.proposals.size(), 1);

    prompts.fileNames = {dir.filePath("copy.ent")};
    ASSERT_TRUE(files.Save());
    EXPECT_EQ(doc.Path(), dir.filePath("copy.ent"));
    CCorvaneDoc recorded(settings);
    ASSERT_TRUE(recorded.Load(snapshot, nullptr));
    EXPECT_EQ(recorded.Lines()[0]->applyFlag, 1);
}
