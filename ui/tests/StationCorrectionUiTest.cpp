// 駅名の訂正 in the desktop program: the dialog, and the list's command and
// the entry dialog's link that open it for a line.
#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "CEntryEditDlg.h"
#include "CStationCorrectDlg.h"
#include "LineStations.h"
#include "LocalTime.h"
#include "ScriptedPrompts.h"
#include "StationCorrections.h"
#include "StationCorrector.h"
#include "StationFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace
{
const StationCode kTokyo = StationCode::Rail(0, 1, 16);
const StationCode kShinjuku = StationCode::Rail(0, 1, 32);

// A trip between two stations of the test database, named as a read names it.
EntryInfo Trip(int serial, int from, int to)
{
    EntryInfo line;
    line.terminalType = 0x16;
    line.processType = 0x01;
    line.serialNumber = serial;
    line.fare = 200;
    line.dateTime = *LocalToTimestamp(2026, 11, 2 + serial, 8, 0, 0);
    line.entryLine = line.exitLine = 1;
    line.entryStation = from;
    line.exitStation = to;
    const auto name = [](int station) {
        return station == 16 ? QStringLiteral("東京") : QStringLiteral("新宿");
    };
    line.entryStationName = name(from);
    line.exitStationName = name(to);
    line.entryLineName = line.exitLineName = QStringLiteral("山手");
    line.entryCompanyName = line.exitCompanyName = QStringLiteral("ＪＲ東");
    return line;
}

// Runs f in the next modal dialog of type T once it is shown.
template <typename T> void InDialog(std::function<void(T&)> f)
{
    QTimer::singleShot(0, [f] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        f(*dialog);
    });
}

class StationCorrectionUiTest : public ::testing::Test
{
protected:
    StationCorrectionUiTest() : doc(settings)
    {
        settings.ConnectStringMdb = fixture.ConnectString();
        settings.dbPassword = AppSettings::kDbPassword;
        QFile::remove(StationCorrections::DefaultPath());
        EntryLines lines;
        lines.push_back(std::make_unique<EntryInfo>(Trip(1, 16, 32)));
        lines.push_back(std::make_unique<EntryInfo>(Trip(2, 32, 16)));
        EntryInfo shop = Trip(3, 16, 32);
        shop.terminalType = 199;
        shop.processType = 70;
        lines.push_back(std::make_unique<EntryInfo>(shop));
        EntryInfo manual = EntryInfo::ManualLine(*LocalToTimestamp(2026, 11, 9, 9, 0, 0));
        manual.exitStationName = QStringLiteral("手入力");
        lines.push_back(std::make_unique<EntryInfo>(manual));
        doc.ReplaceLines(std::move(lines));
        form = std::make_unique<CCorvaneForm>(doc, settings, prompts);
    }
    ~StationCorrectionUiTest() override { QFile::remove(StationCorrections::DefaultPath()); }

    QString Name(std::size_t position, LineStations::Side side) const
    {
        return LineStations::NamesAt(*doc.Lines()[position], side).station;
    }

    QTemporaryDir dir;
    StationFixture fixture{dir.filePath("FenwirStn.mdb")};
    AppSettings settings;
    CCorvaneDoc doc;
    ScriptedPrompts prompts;
    std::unique_ptr<CCorvaneForm> form;
};
} // namespace

TEST(StationCorrectDlg, ShowsTheCodeTheDatabasesNameAndTheFields)
{
    const StationNames registered{"東京", "山手", "ＪＲ東"};
    CStationCorrectDlg dialog({
        {"入場駅", kTokyo, registered, std::nullopt},
        {"出場駅", kShinjuku, registered, StationNames{"新宿南口", "", ""}},
        {"バス停", StationCode::Bus(291, 70), StationNames{"未登録", "", ""}, std::nullopt},
        {"出場駅", StationCode::Rail(0, 9, 9), std::nullopt, std::nullopt},
    });
    EXPECT_EQ(dialog.windowTitle(), "駅名の訂正");
    EXPECT_EQ(dialog.DatabaseText(0)->text(), "東京（山手・ＪＲ東）");
    EXPECT_EQ(dialog.DatabaseText(2)->text(), "未登録");
    EXPECT_EQ(dialog.DatabaseText(3)->text(), "（駅名情報データベースに接続できません）");
    // The fields open with the correction, else the database's registered names.
    EXPECT_EQ(dialog.NameEdit(0, 0)->text(), "東京");
    EXPECT_EQ(dialog.NameEdit(0, 2)->text(), "ＪＲ東");
    EXPECT_EQ(dialog.NameEdit(1, 0)->text(), "新宿南口");
    EXPECT_EQ(dialog.NameEdit(1, 1)->text(), "山手"); // the database's, under the correction
    EXPECT_EQ(dialog.NameEdit(2, 0)->text(), "");
    const auto labels = dialog.findChildren<QLabel*>();
    for (const char* text : {"エリア 0　路線 1　駅 16", "バス路線 291　停留所 70", "停留所名"})
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](QLabel* label) {
            return label->text() == text;
        })) << text;

    dialog.NameEdit(1, 0)->clear();                   // taken back
    dialog.NameEdit(2, 0)->setText(" 市役所\t西口 "); // pasted with a tab
    dialog.NameEdit(3, 0)->setText("新駅");
    const auto result = dialog.Result();
    ASSERT_EQ(result.size(), 4u);
    EXPECT_EQ(result[0], registered);
    EXPECT_FALSE(result[1]);
    EXPECT_EQ(result[2], (StationNames{"市役所 西口", "", ""}));
    EXPECT_EQ(result[3], (StationNames{"新駅", "", ""}));
}

TEST_F(StationCorrectionUiTest, TheListsCommandCorrectsEveryLineOfTheCode)
{
    form->SelectRows({2});
    EXPECT_FALSE(form->CanCorrectSelected()); // a purchase names no station
    form->SelectRows({3});
    EXPECT_FALSE(form->CanCorrectSelected()); // a line made by hand
    form->SelectRows({0});
    ASSERT_TRUE(form->CanCorrectSelected());

    InDialog<CStationCorrectDlg>([](CStationCorrectDlg& dialog) {
        EXPECT_EQ(dialog.DatabaseText(0)->text(), "東京（山手・ＪＲ東）");
        EXPECT_EQ(dialog.DatabaseText(1)->text(), "新宿（山手・ＪＲ東）");
        EXPECT_EQ(dialog.NameEdit(1, 0)->text(), "新宿");
        EXPECT_EQ(dialog.focusWidget(), dialog.NameEdit(0, 0)); // typing starts there
        dialog.NameEdit(1, 0)->setText("新宿南口");
        dialog.accept();
    });
    EXPECT_TRUE(form->CorrectSelected());
    EXPECT_EQ(Name(0, LineStations::Side::Exit), "新宿南口");
    EXPECT_EQ(Name(1, LineStations::Side::Entry), "新宿南口");
    EXPECT_EQ(Name(0, LineStations::Side::Entry), "東京"); // left as the database has it
    EXPECT_EQ(Name(2, LineStations::Side::Exit), "新宿");  // the purchase is no trip
    EXPECT_EQ(doc.UndoStack().count(), 1);
    StationCorrections table(StationCorrections::DefaultPath());
    ASSERT_TRUE(table.Load(nullptr));
    ASSERT_EQ(table.Entries().size(), 1u);
    // The line and company as the database has them stay the database's.
    EXPECT_EQ(table.Get(kShinjuku), (StationNames{"新宿南口", "", ""}));

    doc.UndoStack().undo();
    EXPECT_EQ(Name(1, LineStations::Side::Entry), "新宿");
    ASSERT_TRUE(table.Load(nullptr));
    EXPECT_TRUE(table.Entries().empty());

    // Cancel changes nothing.
    InDialog<CStationCorrectDlg>([](CStationCorrectDlg& dialog) {
        dialog.NameEdit(0, 0)->setText("x");
        dialog.reject();
    });
    EXPECT_FALSE(form->CorrectSelected());
    EXPECT_EQ(doc.UndoStack().index(), 0);
}

// The entry dialog's link opens the same dialog for its line; the names it
// corrects come into the entry dialog's fields, what the user typed stays.
TEST_F(StationCorrectionUiTest, TheEntryDialogsLinkOpensIt)
{
    form->SelectRows({0});
    bool checked = false;
    InDialog<CEntryEditDlg>([&](CEntryEditDlg& edit) {
        ASSERT_FALSE(edit.ReportLink()->isHidden());
        EXPECT_EQ(edit.ReportLink()->text(), "<a href=\"report\">未登録情報もしくは誤りの報告</a>");
        edit.RemarksEdit()->setText("打合せ");
        InDialog<CStationCorrectDlg>([](CStationCorrectDlg& dialog) {
            dialog.NameEdit(0, 0)->setText("東京駅");
            dialog.NameEdit(0, 2)->setText("東日本");
            dialog.accept();
        });
        Q_EMIT edit.ReportLink()->linkActivated("report");
        EXPECT_EQ(edit.NameEdit(2)->text(), "東京駅");
        EXPECT_EQ(edit.NameEdit(0)->text(), "東日本");
        EXPECT_EQ(edit.NameEdit(5)->text(), "新宿");
        EXPECT_EQ(edit.RemarksEdit()->text(), "打合せ");
        checked = true;
        edit.accept();
    });
    EXPECT_TRUE(form->EditSelected());
    EXPECT_TRUE(checked);
    // The correction, then the edit: two steps, each undone on its own.
    ASSERT_EQ(doc.UndoStack().count(), 2);
    EXPECT_EQ(doc.Lines()[0]->entryStationName, "東京駅");
    EXPECT_EQ(doc.Lines()[0]->remarks, "打合せ");
    EXPECT_EQ(doc.Lines()[1]->exitStationName, "東京駅");
    doc.UndoStack().undo();
    EXPECT_EQ(doc.Lines()[0]->remarks, "");
    EXPECT_EQ(doc.Lines()[0]->entryStationName, "東京駅");
    doc.UndoStack().undo();
    EXPECT_EQ(doc.Lines()[0]->entryStationName, "東京");
    EXPECT_EQ(doc.Lines()[0]->entryCompanyName, "ＪＲ東");
}

TEST_F(StationCorrectionUiTest, AnUnreadableTableIsReportedWhenTheDialogOpens)
{
    {
        QFile file(StationCorrections::DefaultPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\"version\": 1, \"rail\": [{");
    }
    form->SelectRows({0});
    InDialog<CStationCorrectDlg>([](CStationCorrectDlg& dialog) { dialog.reject(); });
    form->CorrectSelected();
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].startsWith("駅名の訂正ファイル "))
        << prompts.asked[0].toStdString();
    EXPECT_TRUE(prompts.asked[0].contains("として残し"));
    const QDir folder = QFileInfo(StationCorrections::DefaultPath()).dir();
    const QStringList aside = folder.entryList({"StationCorrections.unreadable-*"});
    EXPECT_EQ(aside.size(), 1);
    for (const QString& name : aside)
        QFile::remove(folder.filePath(name));
}
