// リスト編集 → 駅名を訂正... and the list's context menu open 駅名の訂正 for
// the selected line; 元に戻す takes the correction back.
#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "CMainFrame.h"
#include "CStationCorrectDlg.h"
#include "CommandTable.h"
#include "PcscUnavailable.h"
#include "ReaderSelection.h"
#include "ScriptedPrompts.h"
#include "StationCorrections.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <gtest/gtest.h>

TEST(StationCorrectionMenu, CorrectsTheSelectedLineAndUndoTakesItBack)
{
    QFile::remove(StationCorrections::DefaultPath());
    AppSettings settings;
    settings.PollingTime = 0;
    settings.dbPassword = AppSettings::kDbPassword;
    settings.ConnectStringMdb = AppSettings::BuiltInConnectString();
    CCorvaneDoc doc(settings);
    ScriptedPrompts prompts;
    PcscUnavailable noPcsc;
    ReaderEnvironment reader{noPcsc, QStringLiteral(FENWIR_FELICA_SIM)};
    CMainFrame frame(settings, doc, prompts, reader);
    doc.NewDocument();

    QAction* correct = frame.Commands().Get("ID_LIST_CORRECT_STATION");
    ASSERT_NE(correct, nullptr);
    EXPECT_EQ(correct->text(), "駅名を訂正(&S)...");
    EXPECT_FALSE(correct->isEnabled()); // no line
    QMenu* list = nullptr;
    for (QAction* menu : frame.menuBar()->actions())
        if (menu->text() == "リスト編集(&E)")
            list = menu->menu();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->actions().contains(correct));
    const auto menus = frame.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
    EXPECT_TRUE(std::any_of(menus.begin(), menus.end(), [&](QMenu* menu) {
        return menu->title() == "リスト編集" && menu->actions().contains(correct);
    })) << "the list's context menu";

    qputenv("FENWIR_CARD_IMAGE", FENWIR_DEMO_CARD);
    ASSERT_TRUE(frame.ReadCard());
    // The first trip: a line that names its exit station.
    int row = 0;
    while (row < frame.Form().RowCount() && frame.Form().LineAt(row)->exitLine == 0)
        ++row;
    ASSERT_LT(row, frame.Form().RowCount());
    frame.Form().SelectRows({row});
    ASSERT_TRUE(correct->isEnabled());
    const EntryInfo& first = *frame.Form().LineAt(row);
    const QString before = first.exitStationName;
    ASSERT_FALSE(before.isEmpty());
    const std::size_t lines = doc.Lines().size();
    const auto named = [&](const QString& name) {
        return std::count_if(doc.Lines().begin(), doc.Lines().end(), [&](const auto& line) {
            return line->entryStationName == name || line->exitStationName == name;
        });
    };
    const auto withBefore = named(before);

    QTimer::singleShot(0, &frame, [] {
        auto* dialog = qobject_cast<CStationCorrectDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // The exit station: the last place the line shows.
        const std::size_t exit = dialog->Result().size() - 1;
        dialog->NameEdit(exit, 0)->setText("訂正駅");
        dialog->accept();
    });
    correct->trigger();
    EXPECT_EQ(first.exitStationName, "訂正駅");
    EXPECT_EQ(named("訂正駅"), withBefore); // every line of the code
    EXPECT_EQ(doc.Lines().size(), lines);
    QAction* undo = frame.Commands().Get("ID_EDIT_UNDO");
    EXPECT_EQ(undo->text(), "元に戻す(&U): 駅名の訂正");
    undo->trigger();
    EXPECT_EQ(first.exitStationName, before);
    EXPECT_EQ(named("訂正駅"), 0);
    StationCorrections table(StationCorrections::DefaultPath());
    ASSERT_TRUE(table.Load(nullptr));
    EXPECT_TRUE(table.Entries().empty());
    frame.Commands().Get("ID_EDIT_REDO")->trigger();
    EXPECT_EQ(first.exitStationName, "訂正駅");
    prompts.answers = {Prompts::Answer::No};
    frame.close();
    QFile::remove(StationCorrections::DefaultPath());
}
