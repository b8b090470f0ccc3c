#include "VisitSuggestions.h"

#include "AppSettings.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "CCorvaneDoc.h"
#include "CardImport.h"
#include "EntryList.h"
#include "EntrySamples.h"
#include "MessageReporter.h"
#include "ShiftJis.h"
#include "StationFixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

namespace
{
class SilentReporter : public MessageReporter
{
public:
    void Report(int, const QString&, Icon) override {}
};

HistoryBlock Record(int terminal, int process, int day, std::array<int, 4> codes, int balance,
                    int serial)
{
    const int date = (26 << 9) | (11 << 5) | day;
    HistoryBlock b{};
    b[0] = static_cast<std::uint8_t>(terminal);
    b[1] = static_cast<std::uint8_t>(process);
    b[4] = static_cast<std::uint8_t>(date >> 8);
    b[5] = static_cast<std::uint8_t>(date & 0xFF);
    for (int i = 0; i < 4; ++i)
        b[static_cast<std::size_t>(6 + i)] = static_cast<std::uint8_t>(codes[i]);
    b[10] = static_cast<std::uint8_t>(balance & 0xFF);
    b[11] = static_cast<std::uint8_t>(balance >> 8);
    b[14] = static_cast<std::uint8_t>(serial);
    return b;
}

// Trips between the fixture's stations: 16 東京, 32 新宿, 48 品川 (line 1).
HistoryBlock Rail(int day, int from, int to, int balance, int serial)
{
    return Record(0x16, 0x01, day, {1, from, 1, to}, balance, serial);
}

const EntryInfo* BySerial(const CCorvaneDoc& doc, int serial)
{
    for (const auto& line : doc.Lines())
        if (line->serialNumber == serial)
            return line.get();
    return nullptr;
}

class VisitSuggestionsTest : public ::testing::Test
{
protected:
    VisitSuggestionsTest()
    {
        settings.DefaultPath = dir.path();
        settings.dbPassword = AppSettings::kDbPassword;
        settings.AddVisit(QStringLiteral("本社"), QStringLiteral("新宿"));
        settings.AddVisit(QStringLiteral("品川の客先"), QStringLiteral("品川"));
    }

    CardImport Import(CCorvaneDoc& doc)
    {
        const HistoryBlocks blocks = {
            Rail(4, 32, 48, 600, 13),  // newest: to 品川
            Rail(3, 16, 32, 800, 12),  // to 新宿
            Rail(2, 48, 32, 1000, 11), // to 新宿, claimed before (below)
            Rail(1, 16, 32, 1200, 10), // oldest: no fare, so never ticked
        };
        const CardInfo card{CardInfo::kRead, {0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x5C, 0x6D}, {}};
        return ImportCard(doc, card, blocks, fixture.ConnectString(), settings, messages,
                          [](const OtherCard&) { return false; });
    }

    // Lines with a suggestion at positions 0 and 2, a typed destination at 1.
    void ThreeLines(CCorvaneDoc& doc)
    {
        EntryLines lines = SampleLines(3);
        lines[0]->visitSuggested = true;
        lines[2]->visitSuggested = true;
        doc.ReplaceLines(std::move(lines));
    }

    QTemporaryDir dir;
    StationFixture fixture{dir.filePath("FenwirStn.mdb")};
    AppSettings settings;
    SilentReporter messages;
};
} // namespace

// The destination remembered for a station goes, as a suggestion, only to
// the new trips the claim takes (ticked as they arrive).
TEST_F(VisitSuggestionsTest, ACardReadSuggestsDestinationsForClaimedTripsOnly)
{
    {
        CCorvaneDoc earlier(settings); // last month's claim took trip 11
        Import(earlier);
        ASSERT_TRUE(earlier.RecordApplication({BySerial(earlier, 11)}));
    }
    CCorvaneDoc doc(settings);
    const CardImport imported = Import(doc);
    EXPECT_EQ(imported.visitsSuggested, 2);
    struct Expected {
        int serial;
        const char* visit;
        bool suggested;
    };
    const Expected expected[] = {
        {13, "品川の客先", true}, {12, "本社", true}, {11, "", false}, {10, "", false}};
    for (const Expected& e : expected) {
        const EntryInfo* line = BySerial(doc, e.serial);
        ASSERT_NE(line, nullptr) << e.serial;
        EXPECT_EQ(line->visitDestination, QString::fromUtf8(e.visit)) << e.serial;
        EXPECT_EQ(line->visitSuggested, e.suggested) << e.serial;
        EXPECT_EQ(line->StatedVisit(), "") << e.serial;
    }
    EXPECT_EQ(BySerial(doc, 11)->applyFlag, 0);
    EXPECT_EQ(BySerial(doc, 10)->applyFlag, 0);
    doc.UndoStack().undo(); // the read taken back, suggestions and all
    EXPECT_TRUE(doc.Lines().empty());
}

// The marks are kept after the lines of the file, where earlier versions
// stop reading: what they see is the claim as they would have written it.
TEST_F(VisitSuggestionsTest, SuggestionsSurviveSavingAndOpening)
{
    CCorvaneDoc doc(settings);
    ThreeLines(doc);
    const QString path = dir.filePath("claim.ent");
    QString error;
    ASSERT_TRUE(doc.Save(path, &error)) << error.toStdString();
    const QByteArray bytes = ReadAll(path);

    EntryList plain; // the same claim without suggestions, as earlier versions write it
    for (const auto& line : doc.Lines()) {
        plain.lines.push_back(std::make_unique<EntryInfo>(*line));
        plain.lines.back()->visitSuggested = false;
    }
    plain.documentTime = doc.Data().documentTime;
    ArchiveWriter earlier;
    plain.Write(earlier, EntryList::Document);
    ASSERT_TRUE(bytes.startsWith(earlier.Data()));
    ArchiveWriter trailer;
    trailer.WriteString(EntryList::kSuggestedMarker);
    trailer.WriteInt32(2);
    trailer.WriteInt32(0);
    trailer.WriteInt32(2);
    EXPECT_EQ(bytes.mid(earlier.Data().size()), trailer.Data());

    CCorvaneDoc reopened(settings);
    ASSERT_TRUE(reopened.Load(path, &error));
    ASSERT_EQ(reopened.Lines().size(), 3u);
    EXPECT_TRUE(reopened.Lines()[0]->visitSuggested);
    EXPECT_FALSE(reopened.Lines()[1]->visitSuggested);
    EXPECT_TRUE(reopened.Lines()[2]->visitSuggested);
    EXPECT_EQ(reopened.Lines()[0]->visitDestination, doc.Lines()[0]->visitDestination);

    // A claim without suggestions is written byte for byte as before.
    EXPECT_TRUE(reopened.ConfirmVisits({0, 1, 2}));
    ASSERT_TRUE(reopened.Save(path, &error));
    ArchiveWriter confirmed;
    plain.documentTime = reopened.Data().documentTime;
    plain.Write(confirmed, EntryList::Document);
    EXPECT_EQ(ReadAll(path), confirmed.Data());
}

// Whatever follows the lines, the claim opens. Marks that read whole count
// as written; when they cannot be read, no visit destination is taken for the
// user's own: each is a suggestion to confirm, and the user is told.
TEST_F(VisitSuggestionsTest, UnreadableMarksLeaveEveryDestinationASuggestion)
{
    EntryList plain;
    plain.lines = SampleLines(3);
    ArchiveWriter head;
    plain.Write(head, EntryList::Document); // no suggestions: the lines alone
    const QByteArray records = head.Data();
    const auto trailer = [](std::initializer_list<std::int32_t> positions) {
        ArchiveWriter out;
        out.WriteString(EntryList::kSuggestedMarker);
        out.WriteInt32(static_cast<std::int32_t>(positions.size()));
        for (const std::int32_t position : positions)
            out.WriteInt32(position);
        return out.Data();
    };
    const QByteArray whole = trailer({0, 2});
    const qsizetype markerSize = whole.size() - 12;
    const auto cut = [&](qsizetype at) { return records + whole.left(at) + whole.mid(at + 2); };
    ArchiveWriter unknown;
    unknown.WriteString(QStringLiteral("<## SomethingElse ##>"));
    unknown.WriteInt32(0);
    struct Case {
        const char* what;
        QByteArray bytes;
        std::array<bool, 3> suggested;
        bool unreadable;
    };
    const Case cases[] = {
        {"whole", records + whole, {true, false, true}, false},
        {"nothing after the lines", records, {false, false, false}, false},
        {"two bytes cut at the end", records + whole.chopped(2), {true, true, true}, true},
        {"two bytes cut from the marker", cut(10), {true, true, true}, true},
        {"two bytes cut from the count", cut(markerSize + 2), {true, true, true}, true},
        {"two bytes cut from a position", cut(markerSize + 4), {true, true, true}, true},
        {"a position beyond the lines", records + trailer({0, 3}), {true, true, true}, true},
        {"a negative position", records + trailer({0, -1}), {true, true, true}, true},
        {"a position twice", records + trailer({2, 2}), {true, true, true}, true},
        {"more marks than lines", records + trailer({0, 1, 2, 2}), {true, true, true}, true},
        {"another program's data", records + unknown.Data(), {true, true, true}, true},
        {"a stray byte", records + QByteArray(1, '\x01'), {true, true, true}, true},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath("damaged.ent");
        WriteAll(path, c.bytes);
        CCorvaneDoc opened(settings);
        QString error;
        ASSERT_TRUE(opened.Load(path, &error)) << c.what;
        ASSERT_EQ(opened.Lines().size(), 3u) << c.what;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(opened.Lines()[i]->visitSuggested, c.suggested[i]) << c.what << " " << i;
            EXPECT_EQ(opened.Lines()[i]->visitDestination, plain.lines[i]->visitDestination)
                << c.what;
        }
        EXPECT_EQ(opened.Data().visitMarksUnreadable, c.unreadable) << c.what;
    }
    EntryList damaged;
    ArchiveReader in(cut(10));
    damaged.Read(in);
    EXPECT_EQ(damaged.UnreadableVisitMarksText(),
              "訪問先の候補の印を読み取れませんでした。"
              "訪問先のある明細 3 件の訪問先は、確定するまで候補として扱います。");
}

// A suggestion is no statement: the CSV and the record of a print leave it
// out until the user confirms it, which is one undoable step.
TEST_F(VisitSuggestionsTest, UnconfirmedSuggestionsAreLeftOutUntilConfirmed)
{
    CCorvaneDoc doc(settings);
    ThreeLines(doc);
    settings.CsvOutputItem = "11";
    settings.CsvOutputHeader = 0;
    const QString csv = dir.filePath("out.csv");
    const auto exported = [&] {
        EXPECT_TRUE(doc.Data().WriteCsv(settings, csv));
        return DecodeShiftJis(ReadAll(csv));
    };
    EXPECT_EQ(doc.Data().UnconfirmedVisitsInCsv(settings),
              (std::vector<const EntryInfo*>{doc.Lines()[0].get(), doc.Lines()[2].get()}));
    EXPECT_EQ(exported(), "\"\"\r\n\"本社 1\"\r\n\"\"\r\n");
    settings.CsvOutputItem = "2,12"; // no visit column: nothing left out
    EXPECT_TRUE(doc.Data().UnconfirmedVisitsInCsv(settings).empty());
    settings.CsvOutputItem = "11";

    ASSERT_TRUE(doc.RecordApplication({doc.Lines()[0].get(), doc.Lines()[1].get()}));
    EntryList snapshot;
    ArchiveReader in(ReadAll(doc.History().Records().back().snapshotPath));
    snapshot.Read(in);
    ASSERT_EQ(snapshot.lines.size(), 2u);
    EXPECT_EQ(snapshot.lines[0]->visitDestination, "");
    EXPECT_FALSE(snapshot.lines[0]->visitSuggested);
    EXPECT_EQ(snapshot.lines[1]->visitDestination, "本社 1");

    EXPECT_FALSE(doc.ConfirmVisits({1})); // typed, nothing to confirm
    const int steps = doc.UndoStack().count();
    ASSERT_TRUE(doc.ConfirmVisits({0, 1, 2}));
    EXPECT_EQ(doc.UndoStack().count(), steps + 1);
    EXPECT_EQ(doc.UndoStack().undoText(), "訪問先を確定");
    EXPECT_TRUE(doc.Data().UnconfirmedVisitsInCsv(settings).empty());
    EXPECT_EQ(exported(), "\"本社 0\"\r\n\"本社 1\"\r\n\"本社 2\"\r\n");
    doc.UndoStack().undo();
    EXPECT_TRUE(doc.Lines()[0]->visitSuggested);
    EXPECT_TRUE(doc.Lines()[2]->visitSuggested);
    doc.UndoStack().redo();
    EXPECT_FALSE(doc.Lines()[0]->visitSuggested);
}

// An edit that confirms a suggestion is allowed on a claimed line too.
TEST_F(VisitSuggestionsTest, AClaimedLinesSuggestionCanBeConfirmedByAnEdit)
{
    CCorvaneDoc doc(settings);
    ThreeLines(doc);
    ASSERT_TRUE(doc.RecordApplication({doc.Lines()[0].get()}));
    EntryInfo confirmed = *doc.Lines()[0];
    confirmed.visitSuggested = false;
    ASSERT_TRUE(doc.EditLine(0, confirmed));
    EXPECT_FALSE(doc.Lines()[0]->visitSuggested);
    EXPECT_EQ(doc.Lines()[0]->StatedVisit(), "本社 0");
}
