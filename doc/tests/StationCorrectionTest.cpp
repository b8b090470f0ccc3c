// A station name corrected in a claim: the user's table and every card line
// with the code change together, as one step that undo and redo take whole.
#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "EntrySamples.h"
#include "LineStations.h"
#include "StationCorrections.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
const StationCode kTokyo = StationCode::Rail(1, 37, 12); // every sample line's entry
const StationCode kShinjuku = StationCode::Rail(1, 300 & 0xFF, -5 & 0xFF);
const StationCode kStop = StationCode::Bus(291, 69);

EntryInfo BusLine(int serial)
{
    EntryInfo line = SampleCardLine(serial);
    line.terminalType = 5;
    line.processType = 13;
    line.entryLine = line.entryStation = 0;
    line.entryStationName.clear();
    line.exitLine = 291;
    line.exitStation = 69;
    line.exitStationName = QStringLiteral("未登録");
    line.exitLineName.clear();
    line.exitCompanyName.clear();
    return line;
}

class StationCorrectionTest : public ::testing::Test
{
protected:
    StationCorrectionTest() : doc(settings)
    {
        settings.DefaultPath = dir.path();
        QFile::remove(StationCorrections::DefaultPath());
        EntryLines lines = SampleLines(3);
        lines.push_back(std::make_unique<EntryInfo>(BusLine(3)));
        auto manual = std::make_unique<EntryInfo>(SampleCardLine(4));
        manual->terminalType = manual->processType = EntryInfo::kManualCode;
        lines.push_back(std::move(manual)); // a line the user made: his names stay
        doc.ReplaceLines(std::move(lines));
    }
    ~StationCorrectionTest() override { QFile::remove(StationCorrections::DefaultPath()); }

    StationCorrections::Table Table() const
    {
        StationCorrections table(StationCorrections::DefaultPath());
        QString problem;
        EXPECT_TRUE(table.Load(&problem)) << problem.toStdString();
        return table.Entries();
    }
    StationNames Names(std::size_t position, LineStations::Side side) const
    {
        return LineStations::NamesAt(*doc.Lines()[position], side);
    }

    QTemporaryDir dir;
    AppSettings settings;
    CCorvaneDoc doc;
};
} // namespace

TEST(LineStations, ThePlacesALineNamesByCode)
{
    const EntryInfo rail = SampleCardLine(1);
    const auto places = LineStations::Of(rail);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].side, LineStations::Side::Entry);
    EXPECT_EQ(places[0].code, kTokyo);
    EXPECT_EQ(places[1].code, kShinjuku);

    EntryInfo entryOnly = rail;
    entryOnly.exitLine = 0;
    EXPECT_EQ(LineStations::Of(entryOnly).size(), 1u);
    const auto bus = LineStations::Of(BusLine(1));
    ASSERT_EQ(bus.size(), 1u);
    EXPECT_EQ(bus[0].side, LineStations::Side::Exit);
    EXPECT_EQ(bus[0].code, kStop);
    EntryInfo shop = rail;
    shop.terminalType = 199;
    shop.processType = 70;
    EXPECT_TRUE(LineStations::Of(shop).empty());
    EXPECT_TRUE(LineStations::Of(EntryInfo::ManualLine(0)).empty());

    EntryInfo named = rail;
    LineStations::Name(named, LineStations::Side::Exit, {"a", "b", "c"});
    EXPECT_EQ(LineStations::NamesAt(named, LineStations::Side::Exit),
              (StationNames{"a", "b", "c"}));
    EXPECT_EQ(named.entryStationName, "東京");
}

TEST_F(StationCorrectionTest, EveryLineWithTheCodeAndTheTableInOneStep)
{
    const StationNames database{"東京", "山手線", "ＪＲ東"};
    ASSERT_TRUE(doc.CorrectStations(
        {{kTokyo, StationNames{"東京駅", "", "東日本"}, database},
         {kStop, StationNames{"市役所前", "系統1", ""}, StationNames{"未登録", "", ""}}}));
    EXPECT_EQ(doc.UndoStack().count(), 1);
    EXPECT_EQ(doc.UndoStack().undoText(), "駅名の訂正");
    EXPECT_TRUE(doc.IsModified());
    const StationCorrections::Table corrected = Table();
    EXPECT_EQ(corrected.size(), 2u);
    for (std::size_t position = 0; position < 3; ++position) {
        EXPECT_EQ(Names(position, LineStations::Side::Entry),
                  (StationNames{"東京駅", "山手線", "東日本"}));
        EXPECT_EQ(Names(position, LineStations::Side::Exit).station, "新宿"); // another code
    }
    EXPECT_EQ(Names(3, LineStations::Side::Exit), (StationNames{"市役所前", "系統1", ""}));
    EXPECT_EQ(Names(4, LineStations::Side::Entry).station, "東京"); // made by hand

    doc.UndoStack().undo();
    EXPECT_TRUE(Table().empty());
    EXPECT_EQ(Names(0, LineStations::Side::Entry), database);
    EXPECT_EQ(Names(3, LineStations::Side::Exit).station, "未登録");
    EXPECT_FALSE(doc.IsModified());
    doc.UndoStack().redo();
    EXPECT_EQ(Table(), corrected);
    EXPECT_EQ(Names(2, LineStations::Side::Entry).station, "東京駅");

    // Taken back: the lines get the database's names again, or keep theirs
    // when the database could not say.
    ASSERT_TRUE(doc.CorrectStations(
        {{kTokyo, std::nullopt, database}, {kStop, std::nullopt, std::nullopt}}));
    EXPECT_TRUE(Table().empty());
    EXPECT_EQ(Names(1, LineStations::Side::Entry), database);
    EXPECT_EQ(Names(3, LineStations::Side::Exit).station, "市役所前");
    doc.UndoStack().undo();
    EXPECT_EQ(Table(), corrected);
    EXPECT_EQ(Names(1, LineStations::Side::Entry).station, "東京駅");
}

TEST_F(StationCorrectionTest, NothingToChangeIsNoStep)
{
    // The lines already carry the database's names, and no correction exists.
    EXPECT_FALSE(
        doc.CorrectStations({{kTokyo, std::nullopt, StationNames{"東京", "山手線", "ＪＲ東"}}}));
    EXPECT_EQ(doc.UndoStack().count(), 0);
    // A correction made elsewhere (the command line) that the lines lack yet.
    StationCorrections table(StationCorrections::DefaultPath());
    table.Set(kShinjuku, StationNames{"新宿駅", "", ""});
    ASSERT_TRUE(table.Save(nullptr));
    EXPECT_TRUE(doc.CorrectStations({{kShinjuku, StationNames{"新宿駅", "", ""}, std::nullopt}}));
    EXPECT_EQ(Names(0, LineStations::Side::Exit).station, "新宿駅");
    doc.UndoStack().undo();
    EXPECT_EQ(Table().size(), 1u); // the step changed the lines only
    EXPECT_EQ(Names(0, LineStations::Side::Exit).station, "新宿");
}

TEST_F(StationCorrectionTest, AnUnreadableTableIsReportedAndKeptAside)
{
    {
        QFile file(StationCorrections::DefaultPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not json");
    }
    QStringList problems;
    QObject::connect(&doc, &CCorvaneDoc::CorrectionsProblem,
                     [&](const QString& text) { problems << text; });
    EXPECT_TRUE(doc.CorrectStations({{kTokyo, StationNames{"東京駅", "", ""}, std::nullopt}}));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("として残し"));
    EXPECT_EQ(Table().size(), 1u);
    const QDir folder = QFileInfo(StationCorrections::DefaultPath()).dir();
    for (const QString& name : folder.entryList({"StationCorrections.unreadable-*"}))
        QFile::remove(folder.filePath(name));
}
