// Every change of a claim is one undoable command, and the claim is modified
// exactly when the undo history is off the point where it was saved, opened
// or made.
#include "AppSettings.h"
#include "ArchiveWriter.h"
#include "CCorvaneDoc.h"
#include "EntrySamples.h"
#include "StationCorrections.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace
{
// The claim as a file would hold it, lines in order.
QByteArray Bytes(const CCorvaneDoc& doc)
{
    ArchiveWriter out;
    if (!doc.Lines().empty())
        doc.Data().Write(out, EntryList::Document);
    return out.Data();
}

std::unique_ptr<EntryInfo> Manual(int fare)
{
    auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(1'790'000'000));
    line->fare = fare;
    line->applyFlag = 1;
    line->exitStationName = QStringLiteral("手入力");
    return line;
}

EntryLines TwoCardLines()
{
    EntryLines lines;
    lines.push_back(std::make_unique<EntryInfo>(SampleCardLine(40)));
    lines.push_back(std::make_unique<EntryInfo>(SampleCardLine(41)));
    return lines;
}

struct Edit {
    const char* name;
    std::function<void(CCorvaneDoc&)> apply;
};

const Edit kEdits[] = {
    {"tick off",
     [](CCorvaneDoc& d) {
         d.SetMarks({{1, false}}, "x");
     }},
    {"many marks",
     [](CCorvaneDoc& d) {
         d.SetMarks({{0, false}, {2, false}, {4, false}}, "x");
     }},
    {"edit",
     [](CCorvaneDoc& d) {
         EntryInfo line = *d.Lines()[2];
         line.remarks = QStringLiteral("打合せ");
         line.visitDestination = QStringLiteral("本社");
         d.EditLine(2, line);
     }},
    {"add", [](CCorvaneDoc& d) { d.InsertLine(1, Manual(480)); }},
    {"add at end", [](CCorvaneDoc& d) { d.InsertLine(99, Manual(0)); }},
    {"delete scattered",
     [](CCorvaneDoc& d) {
         d.RemoveLines({4, 0, 2});
     }},
    {"move",
     [](CCorvaneDoc& d) {
         d.Reorder({1, 2, 0, 3, 4}, "x");
     }},
    {"reverse",
     [](CCorvaneDoc& d) {
         d.Reorder({4, 3, 2, 1, 0}, "x");
     }},
    {"card read", [](CCorvaneDoc& d) { d.AppendLines(TwoCardLines(), "x"); }},
    {"marks cleared after a print",
     [](CCorvaneDoc& d) {
         d.ClearMarks({d.Lines()[3].get(), d.Lines()[1].get()}, "x");
     }},
    {"station name corrected",
     [](CCorvaneDoc& d) {
         d.CorrectStations(
             {{StationCode::Rail(1, 37, 12), StationNames{"東京駅", "", ""}, std::nullopt}});
     }},
};

class ClaimUndoTest : public ::testing::Test
{
protected:
    ClaimUndoTest() : doc(settings) { settings.DefaultPath = dir.path(); }
    ~ClaimUndoTest() override { QFile::remove(StationCorrections::DefaultPath()); }

    QTemporaryDir dir;
    AppSettings settings;
    CCorvaneDoc doc;
};
} // namespace

TEST_F(ClaimUndoTest, EveryEditUndoesAndRedoesExactly)
{
    for (const Edit& edit : kEdits) {
        SCOPED_TRACE(edit.name);
        doc.ReplaceLines(SampleLines(5));
        const QByteArray before = Bytes(doc);
        edit.apply(doc);
        const QByteArray after = Bytes(doc);
        ASSERT_NE(after, before);
        EXPECT_TRUE(doc.IsModified());
        ASSERT_EQ(doc.UndoStack().count(), 1);
        doc.UndoStack().undo();
        EXPECT_EQ(Bytes(doc), before);
        EXPECT_FALSE(doc.IsModified());
        doc.UndoStack().redo();
        EXPECT_EQ(Bytes(doc), after);
        EXPECT_TRUE(doc.IsModified());
    }
}

TEST_F(ClaimUndoTest, UndoBackToTheSavedPointIsUnmodifiedAndSavesTheSameBytes)
{
    doc.ReplaceLines(SampleLines(5));
    kEdits[3].apply(doc);
    const QString path = dir.filePath("claim.ent");
    QString error;
    ASSERT_TRUE(doc.Save(path, &error)) << error.toStdString();
    // Read whole each time: a save puts a new file in the old one's place.
    const auto fileBytes = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray savedBytes = fileBytes();
    ASSERT_FALSE(savedBytes.isEmpty());

    // Every edit in turn, then all undone: the claim stands as saved.
    for (const Edit& edit : kEdits) {
        if (doc.Lines().size() < 5)
            doc.InsertLine(0, Manual(100));
        edit.apply(doc);
    }
    EXPECT_TRUE(doc.IsModified());
    while (doc.UndoStack().index() > 0 && doc.IsModified())
        doc.UndoStack().undo();
    EXPECT_FALSE(doc.IsModified());
    ASSERT_TRUE(doc.Save(path, &error));
    EXPECT_EQ(fileBytes(), savedBytes);
    // Undo past the save point is a change again.
    doc.UndoStack().undo();
    EXPECT_TRUE(doc.IsModified());
}

// A claim made or opened starts a clean history, whatever came before it: an
// edit afterwards is never lost without the question.
TEST_F(ClaimUndoTest, EditAfterNewOrOpenIsAChange)
{
    doc.ReplaceLines(SampleLines(3));
    ASSERT_TRUE(doc.Save(dir.filePath("c.ent"), nullptr));
    for (const bool open : {false, true}) {
        SCOPED_TRACE(open);
        doc.AppendLines(TwoCardLines(), "read"); // a card read...
        ASSERT_TRUE(doc.IsModified());
        if (open) // ...then the user opens a claim, declining to save the read
            ASSERT_TRUE(doc.Load(dir.filePath("c.ent"), nullptr));
        else
            doc.NewDocument();
        EXPECT_FALSE(doc.IsModified());
        EXPECT_FALSE(doc.UndoStack().canUndo());
        if (open)
            doc.SetMarks({{0, false}}, "untick");
        else
            doc.InsertLine(0, Manual(100));
        EXPECT_TRUE(doc.IsModified());
    }
}

TEST_F(ClaimUndoTest, NoChangeIsNoCommand)
{
    doc.ReplaceLines(SampleLines(3));
    EXPECT_FALSE(doc.SetMarks({{0, true}}, "x"));   // already marked
    EXPECT_FALSE(doc.SetMarks({{7, false}}, "x"));  // no such line
    EXPECT_FALSE(doc.Reorder({0, 1, 2}, "x"));      // same order
    EXPECT_FALSE(doc.Reorder({0, 1}, "x"));         // not an order of these lines
    EXPECT_FALSE(doc.EditLine(1, *doc.Lines()[1])); // same content
    doc.RemoveLines({5});
    EXPECT_EQ(doc.UndoStack().count(), 0);
    EXPECT_FALSE(doc.IsModified());
}
