#include "AppSettings.h"
#include "ArchiveReader.h"
#include "CCorvaneDoc.h"
#include "EntryList.h"
#include "EntrySamples.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class DocumentTest : public ::testing::Test
{
protected:
    DocumentTest() : doc(settings)
    {
        settings.DefaultPath = dir.path();
        QObject::connect(&doc, &CCorvaneDoc::Updated, [this](int hint) { hints.push_back(hint); });
    }

    QString ApplyFolder() const { return dir.filePath("ApplyHistory"); }

    QTemporaryDir dir;
    AppSettings settings;
    CCorvaneDoc doc;
    std::vector<int> hints;
    QString error;
};
} // namespace

TEST_F(DocumentTest, SaveAndLoad)
{
    doc.NewDocument();
    EXPECT_EQ(doc.Title(), "無題");
    EXPECT_FALSE(doc.Layout().IsEmpty()); // the first new document loads the layout
    doc.Data().lines = SampleLines(3);
    doc.SetModified(true);
    const QString path = dir.filePath("claim.ent");
    ASSERT_TRUE(doc.Save(path, &error)) << error.toStdString();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Title(), "claim.ent");

    CCorvaneDoc other(settings);
    std::vector<int> otherHints;
    QObject::connect(&other, &CCorvaneDoc::Updated, [&](int h) { otherHints.push_back(h); });
    ASSERT_TRUE(other.Load(path, &error));
    EXPECT_EQ(otherHints, (std::vector<int>{CCorvaneDoc::HintClear, CCorvaneDoc::HintRefill}));
    ASSERT_EQ(other.Data().lines.size(), 3u);
    EXPECT_EQ(*other.Data().lines[2], *doc.Data().lines[2]);
    EXPECT_EQ(other.Path(), path);
    EXPECT_EQ(hints, (std::vector<int>{CCorvaneDoc::HintClear, CCorvaneDoc::HintRebuild}));
}

TEST_F(DocumentTest, DocumentWithoutLinesIsNotSaved)
{
    const QString path = dir.filePath("old.ent");
    WriteAll(path, "previous");
    doc.SetModified(true);
    EXPECT_FALSE(doc.Save(path, &error));
    EXPECT_EQ(error, "ドキュメントの保存に失敗しました。");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ReadAll(path), "previous");
}

TEST_F(DocumentTest, SaveToAMissingFolderNamesTheFile)
{
    doc.Data().lines = SampleLines(1);
    EXPECT_FALSE(doc.Save(dir.filePath("no/such/folder/x.ent"), &error));
    EXPECT_TRUE(error.contains("no/such/folder/x.ent"));
}

TEST_F(DocumentTest, LoadFailures)
{
    doc.Data().lines = SampleLines(2);
    ASSERT_TRUE(doc.Save(dir.filePath("mine.ent"), &error));

    EXPECT_FALSE(doc.Load(dir.filePath("missing.ent"), &error));
    EXPECT_TRUE(error.contains("missing.ent"));
    EXPECT_EQ(doc.Data().lines.size(), 2u); // an unopened file changes nothing
    EXPECT_EQ(doc.Path(), dir.filePath("mine.ent"));

    WriteAll(dir.filePath("foreign.ent"), "not an expense file");
    hints.clear();
    EXPECT_FALSE(doc.Load(dir.filePath("foreign.ent"), &error));
    EXPECT_EQ(error, "予期しないファイル形式です。");
    EXPECT_TRUE(doc.Data().lines.empty());
    EXPECT_EQ(doc.Title(), "無題");
    EXPECT_EQ(hints, std::vector<int>{CCorvaneDoc::HintClear});
}

TEST_F(DocumentTest, RecordApplicationWritesSnapshotAndHistory)
{
    doc.NewDocument();
    doc.Data().lines = SampleLines(5, 3); // two claimed
    doc.Data().documentTime = 1'777'777'777;
    ASSERT_TRUE(doc.RecordApplication(405));
    ASSERT_TRUE(doc.RecordApplication(405)); // same second: a second snapshot

    const QStringList snapshots =
        QDir(ApplyFolder()).entryList({"Apply*.ent"}, QDir::Files, QDir::Name);
    ASSERT_EQ(snapshots.size(), 2);
    const auto& records = doc.History().Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].snapshotPath, records[1].snapshotPath);
    EXPECT_EQ(records[0].documentTime, 1'777'777'777);
    EXPECT_EQ(records[1].amount, 405);
    EXPECT_TRUE(QFileInfo(records[0].snapshotPath).fileName().startsWith("Apply"));

    EntryList snapshot;
    ArchiveReader in(ReadAll(records[0].snapshotPath));
    snapshot.Read(in);
    EXPECT_EQ(snapshot.lines.size(), 2u);
    EXPECT_EQ(snapshot.documentTime, 1'777'777'777);

    ApplyHistory stored;
    EXPECT_TRUE(stored.Load(settings));
    EXPECT_EQ(stored.Records(), records);
}

TEST_F(DocumentTest, NothingClaimedStillRecords)
{
    doc.Data().lines = SampleLines(2, 100);
    doc.Data().lines[0]->applyFlag = 0;
    ASSERT_TRUE(doc.RecordApplication(0));
    ASSERT_EQ(doc.History().Records().size(), 1u);
    EntryList snapshot;
    ArchiveReader in(ReadAll(doc.History().Records()[0].snapshotPath));
    snapshot.Read(in);
    EXPECT_TRUE(snapshot.lines.empty());
}

TEST_F(DocumentTest, EmptyDocumentRecordsNothing)
{
    EXPECT_FALSE(doc.RecordApplication(0));
    EXPECT_TRUE(doc.History().Records().empty());
    EXPECT_TRUE(QDir(ApplyFolder()).entryList({"Apply*.ent"}).isEmpty());
}

TEST_F(DocumentTest, HistoryOfEarlierRunsSurvivesARunStartedByOpening)
{
    ApplyHistory earlier;
    earlier.Add({1, 100, "earlier.ent"});
    ASSERT_TRUE(earlier.Save(settings));

    doc.Data().lines = SampleLines(1);
    ASSERT_TRUE(doc.Save(dir.filePath("c.ent"), &error));
    CCorvaneDoc opened(settings); // no NewDocument: the run began with a file
    ASSERT_TRUE(opened.Load(dir.filePath("c.ent"), &error));
    ASSERT_TRUE(opened.RecordApplication(200));
    ApplyHistory stored;
    ASSERT_TRUE(stored.Load(settings));
    ASSERT_EQ(stored.Records().size(), 2u);
    EXPECT_EQ(stored.Records()[0].amount, 100);
    EXPECT_EQ(stored.Records()[1].amount, 200);
}
