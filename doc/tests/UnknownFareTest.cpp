// A fare the card did not hold (the oldest record of a read) is unknown, not
// 0: it survives saving where earlier versions do not look, and a later read
// that holds the record before it gives it, as one step undo takes back.
#include "AppSettings.h"
#include "ArchiveWriter.h"
#include "CCorvaneDoc.h"
#include "CardImport.h"
#include "EntryList.h"
#include "EntrySamples.h"
#include "MessageReporter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class SilentReporter : public MessageReporter
{
public:
    void Report(int, const QString&, Icon) override {}
};

// A trip on 2 November 2026 with this sequence number and balance after it.
HistoryBlock Trip(int sequence, int balance)
{
    const int date = (26 << 9) | (11 << 5) | 2;
    HistoryBlock b{};
    b[0] = 0x16;
    b[1] = 0x01;
    b[4] = static_cast<std::uint8_t>(date >> 8);
    b[5] = static_cast<std::uint8_t>(date & 0xFF);
    b[6] = 1;
    b[7] = 16;
    b[8] = 1;
    b[9] = 32;
    b[10] = static_cast<std::uint8_t>(balance & 0xFF);
    b[11] = static_cast<std::uint8_t>(balance >> 8);
    b[13] = static_cast<std::uint8_t>(sequence >> 8);
    b[14] = static_cast<std::uint8_t>(sequence & 0xFF);
    return b;
}

const CardInfo kCard{CardInfo::kRead, {0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x5C, 0x6D}, {}};
} // namespace

TEST(UnknownFare, ItSurvivesSavingWhereEarlierVersionsDoNotLook)
{
    QTemporaryDir dir;
    AppSettings settings;
    settings.DefaultPath = dir.path();
    CCorvaneDoc doc(settings);
    EntryLines lines = SampleLines(3);
    lines[0]->fare = 0;
    lines[0]->applyFlag = 0;
    lines[0]->fareUnknown = true;
    lines[2]->visitSuggested = true;
    doc.ReplaceLines(std::move(lines));
    const QString path = dir.filePath("claim.ent");
    QString error;
    ASSERT_TRUE(doc.Save(path, &error)) << error.toStdString();

    // What earlier versions read comes first, as they wrote it: the lines
    // with the fare 0, then the suggestions.
    EntryList earlier;
    for (const auto& line : doc.Lines()) {
        earlier.lines.push_back(std::make_unique<EntryInfo>(*line));
        earlier.lines.back()->fareUnknown = false;
    }
    earlier.documentTime = doc.Data().documentTime;
    ArchiveWriter before;
    earlier.Write(before, EntryList::Document);
    const QByteArray bytes = ReadAll(path);
    ASSERT_TRUE(bytes.startsWith(before.Data()));
    ArchiveWriter trailer;
    trailer.WriteString(EntryList::kFareUnknownMarker);
    trailer.WriteInt32(1);
    trailer.WriteInt32(0);
    EXPECT_EQ(bytes.mid(before.Data().size()), trailer.Data());

    CCorvaneDoc reopened(settings);
    ASSERT_TRUE(reopened.Load(path, &error));
    ASSERT_EQ(reopened.Lines().size(), 3u);
    EXPECT_TRUE(reopened.Lines()[0]->fareUnknown);
    EXPECT_FALSE(reopened.Lines()[1]->fareUnknown);
    EXPECT_TRUE(reopened.Lines()[2]->visitSuggested);
}

TEST(UnknownFare, AnOlderReadGivesItInOneStep)
{
    QTemporaryDir dir;
    AppSettings settings;
    settings.DefaultPath = dir.path();
    CCorvaneDoc doc(settings);
    doc.NewDocument();
    SilentReporter messages;
    const auto import = [&](const HistoryBlocks& blocks) {
        return ImportCard(doc, kCard, blocks, QString(), settings, messages,
                          [](const OtherCard&) { return true; });
    };
    import({Trip(466, 4600), Trip(465, 4800)});
    ASSERT_EQ(doc.Lines().size(), 2u);
    const EntryInfo& seam = *doc.Lines()[0];
    EXPECT_TRUE(seam.fareUnknown);
    EXPECT_EQ(seam.applyFlag, 0);

    // The card read earlier, before its last two trips.
    const CardImport older = import({Trip(465, 4800), Trip(464, 4900), Trip(463, 5000)});
    EXPECT_EQ(older.added.size(), 2u);
    EXPECT_EQ(older.faresCompleted, 1);
    EXPECT_FALSE(seam.fareUnknown);
    EXPECT_EQ(seam.fare, 100);
    EXPECT_EQ(seam.applyFlag, 1);

    doc.UndoStack().undo();
    EXPECT_EQ(doc.Lines().size(), 2u);
    EXPECT_TRUE(doc.Lines()[0]->fareUnknown);
    EXPECT_EQ(doc.Lines()[0]->applyFlag, 0);
}
