#include "AppSettings.h"
#include "CCardNamesDlg.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "CListCtrlEx.h"
#include "CMainFrame.h"
#include "CManualDlg.h"
#include "CommandTable.h"
#include "EntryTableModel.h"
#include "FileCommands.h"
#include "PcscUnavailable.h"
#include "ReaderSelection.h"
#include "RecentFiles.h"
#include "ScriptedPrompts.h"
#include "StationFixture.h"
#include "StatusPanes.h"
#include "TextFormat.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <unistd.h>

namespace
{
class MainFrameTest : public ::testing::Test
{
protected:
    MainFrameTest()
        : doc(settings), reader{noPcsc, QStringLiteral(FENWIR_FELICA_SIM)},
          frame(settings, doc, prompts, reader)
    {
        settings.PollingTime = 0;
        settings.dbPassword = AppSettings::kDbPassword;
        settings.DefaultPath = documents.path();
    }

    bool Enabled(const char* name) const
    {
        return frame.Commands().Get(QLatin1String(name))->isEnabled();
    }

    QTemporaryDir documents;
    AppSettings settings;
    CCorvaneDoc doc;
    ScriptedPrompts prompts;
    PcscUnavailable noPcsc;
    ReaderEnvironment reader;
    CMainFrame frame;
};

const char* const kRowCommands[] = {"ID_FILE_SAVE",  "ID_FILE_SAVE_AS", "ID_CSV_SAVE",
                                    "ID_LIST_UP",    "ID_LIST_DOWN",    "ID_LIST_EDIT",
                                    "ID_LIST_DELETE"};
const char* const kAlways[] = {"ID_CARD_READ", "ID_FILE_NEW",  "ID_FILE_OPEN", "ID_LIST_ADD",
                               "ID_APP_EXIT",  "ID_VIEW_GRID", "ID_AUTO_SAVE", "ID_APP_ABOUT"};
} // namespace

TEST_F(MainFrameTest, EnableRulesFollowRowsAndMarks)
{
    doc.NewDocument();
    for (const char* name : kRowCommands)
        EXPECT_FALSE(Enabled(name)) << name;
    for (const char* name : kAlways)
        EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_FALSE(Enabled("ID_FILE_PRINT"));

    // A read of the demo card through the simulated reader fills the list.
    qputenv("FENWIR_CARD_IMAGE", FENWIR_DEMO_CARD);
    ASSERT_TRUE(frame.ReadCard());
    EXPECT_GT(frame.Form().RowCount(), 10);
    EXPECT_EQ(frame.Panes().CardText(), "011402123A4B5C6D");
    EXPECT_TRUE(frame.Panes().BalanceText().endsWith("円"));
    for (const char* name : kRowCommands)
        EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_TRUE(Enabled("ID_FILE_PRINT"));
    EXPECT_TRUE(doc.IsModified());

    frame.Form().SelectRows({});
    frame.Form().SetAllChecks(false);
    EXPECT_FALSE(Enabled("ID_FILE_PRINT"));
    EXPECT_FALSE(Enabled("ID_FILE_PRINT_PREVIEW"));
    EXPECT_TRUE(Enabled("ID_FILE_SAVE"));
}

TEST_F(MainFrameTest, FailedReadSaysWhyAndKeepsThePanes)
{
    doc.NewDocument();
    frame.Panes().SetCardPaneTexts("0000000000000001", "  500円");
    qputenv("FENWIR_CARD_IMAGE", "/nonexistent/card.json"); // the library finds no card
    EXPECT_FALSE(frame.ReadCard());
    EXPECT_EQ(prompts.asked, QStringList{"カードリーダーが接続されていません。"});
    EXPECT_EQ(frame.Panes().CardText(), "0000000000000001");
    EXPECT_EQ(frame.Panes().BalanceText(), "  500円");
    EXPECT_EQ(frame.Form().RowCount(), 0);
}

TEST_F(MainFrameTest, TogglesChangeTheSettingsInMemory)
{
    QAction* grid = frame.Commands().Get("ID_VIEW_GRID");
    const int before = settings.ListGridView;
    grid->trigger();
    EXPECT_EQ(settings.ListGridView, before == 0 ? 1 : 0);
    grid->trigger();
    EXPECT_EQ(settings.ListGridView, before);
    frame.Commands().Get("ID_AUTO_SAVE")->trigger();
    EXPECT_EQ(settings.AutoSave, 1);
    EXPECT_EQ(frame.minimumHeight(), 380);
    EXPECT_GE(frame.minimumWidth(), 520); // and the status bar's width
    EXPECT_EQ(frame.windowTitle(), "Fenwir  Lite - 非接触ICカード交通費精算書作成システム");
}

// An edit after a card read and a new claim is asked about at exit.
TEST_F(MainFrameTest, EditAfterAReadAndANewClaimIsNotLost)
{
    doc.NewDocument();
    qputenv("FENWIR_CARD_IMAGE", FENWIR_DEMO_CARD);
    ASSERT_TRUE(frame.ReadCard());
    prompts.answers = {Prompts::Answer::No}; // do not save the read
    ASSERT_TRUE(frame.Files().New());
    EXPECT_FALSE(doc.IsModified());
    frame.Form().SetLineEditor([](const CCorvaneForm::EditRequest& request) {
        EntryInfo line = request.line;
        line.fare = 320;
        return std::optional<EntryInfo>(line);
    });
    ASSERT_TRUE(frame.Form().AddLine());
    prompts.asked.clear();
    prompts.answers = {Prompts::Answer::Cancel};
    EXPECT_FALSE(frame.close());
    EXPECT_EQ(prompts.asked, QStringList{"無題 への変更を保存しますか?"});
    EXPECT_EQ(doc.Lines().size(), 1u);
}

// A file that is no claim, opened by the menu, a drop or the recent list,
// is reported and replaces nothing: the open claim stays, unsaved as it was.
TEST_F(MainFrameTest, AFailedOpenKeepsTheOpenClaim)
{
    QTemporaryDir dir;
    doc.NewDocument();
    qputenv("FENWIR_CARD_IMAGE", FENWIR_DEMO_CARD);
    ASSERT_TRUE(frame.ReadCard());
    prompts.fileNames = {dir.filePath("november.ent")};
    ASSERT_TRUE(frame.Files().Save());
    doc.InsertLine(0, std::make_unique<EntryInfo>(EntryInfo::ManualLine(0)));
    const std::size_t lines = doc.Lines().size();
    const int rows = frame.Form().RowCount();
    const QString corrupt = dir.filePath("corrupt.ent");
    {
        QFile file(corrupt);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xFE\xFF\x18garbage");
    }
    const auto expectKept = [&](const char* how) {
        EXPECT_TRUE(prompts.asked.last().contains("予期しないファイル形式です。")) << how;
        EXPECT_EQ(doc.Lines().size(), lines) << how;
        EXPECT_EQ(frame.Form().RowCount(), rows) << how;
        EXPECT_EQ(frame.Panes().DocumentText(), "november.ent ＊未保存") << how;
        EXPECT_TRUE(doc.UndoStack().canUndo()) << how;
    };

    prompts.answers = {Prompts::Answer::No}; // no save before the open
    prompts.fileNames = {corrupt};
    frame.Commands().Get("ID_FILE_OPEN")->trigger();
    expectKept("menu");

    prompts.answers = {Prompts::Answer::No};
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(corrupt)});
    // A drop follows the drag entering the window, as with a real drag.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &drop);
    const qsizetype asked = prompts.asked.size();
    // The save question, then the failure; the open waits for the drop to end.
    for (QDeadlineTimer wait(10'000); prompts.asked.size() < asked + 2 && !wait.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    expectKept("drop");

    prompts.answers = {Prompts::Answer::No};
    frame.Recent().Add(corrupt);
    frame.Recent().Menu()->actions().constFirst()->trigger();
    expectKept("recent list");
}

// The title never names the file: the status bar does, and says whether
// the claim is saved and what it is worth.
TEST_F(MainFrameTest, StatusBarNamesTheClaimAndItsTotal)
{
    QTemporaryDir dir;
    doc.NewDocument();
    EXPECT_EQ(frame.Panes().DocumentText(), "無題");
    EXPECT_EQ(frame.Panes().ClaimText(), "申請 0件 0円");
    qputenv("FENWIR_CARD_IMAGE", FENWIR_DEMO_CARD);
    ASSERT_TRUE(frame.ReadCard());
    EXPECT_EQ(frame.Panes().DocumentText(), "無題 ＊未保存");
    const auto& form = frame.Form();
    EXPECT_EQ(frame.Panes().ClaimText(), QStringLiteral("申請 %1件 %2円")
                                             .arg(form.CheckedCount())
                                             .arg(FormatYen(form.CheckedTotal())));
    EXPECT_GT(form.CheckedCount(), 0);
    prompts.fileNames = {dir.filePath("november.ent")};
    ASSERT_TRUE(frame.Files().Save());
    EXPECT_EQ(frame.Panes().DocumentText(), "november.ent");
    EXPECT_EQ(frame.windowTitle(), "Fenwir  Lite - 非接触ICカード交通費精算書作成システム");
    doc.UndoStack().undo(); // the read taken back: a change from the saved claim
    EXPECT_EQ(frame.Panes().DocumentText(), "november.ent ＊未保存");
    EXPECT_EQ(frame.Panes().ClaimText(), "申請 0件 0円");
}

// A read that brings nothing the claim lacks says so.
TEST_F(MainFrameTest, AReadThatAddsNothingSaysSo)
{
    doc.NewDocument();
    qputenv("FENWIR_CARD_IMAGE", FENWIR_DEMO_CARD);
    ASSERT_TRUE(frame.ReadCard());
    EXPECT_NE(frame.Panes().currentMessage(), CMainFrame::NothingNewText());
    const std::size_t lines = doc.Lines().size();
    ASSERT_TRUE(frame.ReadCard());
    EXPECT_EQ(doc.Lines().size(), lines);
    EXPECT_EQ(frame.Panes().currentMessage(), "新しい利用履歴はありません");
}

// A period that hides every line leaves the claim to save and export; only
// the list's own commands wait for rows.
TEST_F(MainFrameTest, AClaimHiddenByThePeriodCanStillBeSaved)
{
    doc.NewDocument();
    qputenv("FENWIR_CARD_IMAGE", FENWIR_DEMO_CARD);
    ASSERT_TRUE(frame.ReadCard());
    frame.Form().SetPeriod(CCorvaneForm::Period::Range, QDate(2001, 1, 1), QDate(2001, 1, 31));
    EXPECT_EQ(frame.Form().RowCount(), 0);
    EXPECT_TRUE(Enabled("ID_FILE_SAVE"));
    EXPECT_TRUE(Enabled("ID_CSV_SAVE"));
    EXPECT_FALSE(Enabled("ID_LIST_EDIT"));
    EXPECT_FALSE(Enabled("ID_FILE_PRINT"));
    EXPECT_EQ(frame.Form().List().PlaceholderText(), "この期間に表示する明細はありません");
}

// The window at common sizes (1366×768; 1920×1080 at 200 %, that is 960×540):
// after a read with long names the list fits without scrolling sideways, the
// mark, date and amount columns keep their width, and the smallest window
// keeps the status bar whole.
TEST_F(MainFrameTest, TheListFitsTheWindowAtCommonSizes)
{
    doc.NewDocument();
    qputenv("FENWIR_CARD_IMAGE", FENWIR_DEMO_CARD);
    ASSERT_TRUE(frame.ReadCard());
    for (std::size_t i = 0; i < doc.Lines().size(); i += 3) {
        EntryInfo line = *doc.Lines()[i];
        line.visitDestination = QStringLiteral("株式会社みどり商事 神保町営業所 第二会議室");
        line.remarks = QStringLiteral("新規取引先との打合せ（資料持参）");
        doc.EditLine(i, line);
    }
    CListCtrlEx& list = frame.Form().List();
    const struct {
        QSize window;
        bool wholeFileName; // where the panes leave it room
    } sizes[] = {{QSize(1350, 700), true}, {QSize(944, 500), false}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.window.width());
        frame.resize(size.window);
        frame.show();
        frame.layout()->activate();
        QCoreApplication::processEvents();
        // Every column within the list's width: nothing to scroll to.
        EXPECT_LE(list.horizontalHeader()->length(), list.viewport()->width());
        for (const int column : {int(EntryTableModel::Print), int(EntryTableModel::Date),
                                 int(EntryTableModel::Fare), int(EntryTableModel::Applied)})
            EXPECT_EQ(list.columnWidth(column), EntryTableModel::DefaultWidth(column)) << column;
        EXPECT_GT(list.columnWidth(EntryTableModel::Visit), 0);
        // The file's name has the room the panes leave.
        if (!size.wholeFileName)
            continue;
        frame.Panes().ShowDocument(QStringLiteral("Entry261211-035905.ent"), QString(), true,
                                   false);
        QCoreApplication::processEvents();
        const auto* name = frame.Panes().findChild<QLabel*>(QStringLiteral("documentPane"));
        ASSERT_NE(name, nullptr);
        EXPECT_GE(name->width(), name->sizeHint().width());
    }
    // The smallest window keeps the status bar whole, as far as the screen
    // allows.
    QCoreApplication::processEvents();
    const int screen = frame.screen()->availableGeometry().width() - 16;
    EXPECT_GE(frame.minimumWidth(), std::min(frame.statusBar()->minimumSizeHint().width(), screen));
    frame.hide();
}

// A read names the trips it gave a remembered destination in the status bar;
// they wait, as suggestions, for the user to confirm them, which is one step
// to undo.
TEST_F(MainFrameTest, SuggestedVisitsAreCountedAndConfirmed)
{
    const QString stations = StationFixture::SharedDatabase();
    if (stations.isEmpty())
        GTEST_SKIP() << "the shared station database is missing";
    settings.ConnectStringMdb = AppSettings::ConnectStringFor(stations);
    doc.NewDocument();
    settings.AddVisit(QStringLiteral("本社"), QStringLiteral("新宿"));
    qputenv("FENWIR_CARD_IMAGE", FENWIR_DEMO_CARD);
    ASSERT_TRUE(frame.ReadCard());
    int suggested = 0;
    for (const auto& line : doc.Lines()) {
        if (line->visitSuggested) {
            ++suggested;
            EXPECT_EQ(line->visitDestination, "本社");
            EXPECT_EQ(line->applyFlag, 1);
        } else {
            EXPECT_TRUE(line->visitDestination.isEmpty());
        }
    }
    ASSERT_GT(suggested, 0);
    EXPECT_EQ(frame.Panes().currentMessage(),
              QStringLiteral("訪問先を%1件補いました").arg(suggested));

    QAction* confirm = frame.Commands().Get("ID_LIST_CONFIRM_VISIT");
    frame.Form().SelectRows({0}); // the first line, a charge: nothing to confirm
    EXPECT_FALSE(confirm->isEnabled());
    std::vector<int> all(static_cast<std::size_t>(frame.Form().RowCount()));
    std::iota(all.begin(), all.end(), 0);
    frame.Form().SelectRows(all);
    EXPECT_TRUE(confirm->isEnabled());
    confirm->trigger();
    EXPECT_FALSE(confirm->isEnabled());
    for (const auto& line : doc.Lines())
        EXPECT_FALSE(line->visitSuggested);
    doc.UndoStack().undo();
    EXPECT_TRUE(confirm->isEnabled());
    EXPECT_EQ(std::count_if(doc.Lines().begin(), doc.Lines().end(),
                            [](const auto& line) { return line->visitSuggested; }),
              suggested);
}

// A history found damaged when the program starts is said, naming the file,
// once the window is up.
TEST_F(MainFrameTest, ADamagedHistoryIsToldAtStart)
{
    QDir().mkpath(documents.filePath("ApplyHistory"));
    QFile history(documents.filePath("ApplyHistory/Apply.hst"));
    ASSERT_TRUE(history.open(QIODevice::WriteOnly));
    history.write("foreign content");
    history.close();
    doc.NewDocument();
    EXPECT_TRUE(prompts.asked.isEmpty());
    QCoreApplication::processEvents();
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].contains(QDir::toNativeSeparators(history.fileName())))
        << prompts.asked[0].toStdString();
    EXPECT_TRUE(prompts.asked[0].contains("壊れています"));
}

// A phone's card read again under a new ID is one card: no カード column
// for it alone, and カードの名前 lists it once and names it under every ID.
TEST_F(MainFrameTest, ACardReadUnderANewIdIsOneCard)
{
    QTemporaryDir dir;
    QFile demo(FENWIR_DEMO_CARD);
    ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
    QFile phone(dir.filePath("phone.json"));
    ASSERT_TRUE(phone.open(QIODevice::WriteOnly));
    // The same card, a trip later, on a phone that gives another ID.
    phone.write(demo.readAll()
                    .replace("01 14 02 12 3A 4B 5C 6D", "01 2E 44 71 08 9C 10 22")
                    .replace("\"history\": [",
                             "\"history\": [\"16 01 00 00 35 74 01 01 03 03 AE 1F 00 01 14 00\","));
    phone.close();
    doc.NewDocument();
    qputenv("FENWIR_CARD_IMAGE", FENWIR_DEMO_CARD);
    ASSERT_TRUE(frame.ReadCard());
    qputenv("FENWIR_CARD_IMAGE", phone.fileName().toLocal8Bit());
    const std::size_t before = doc.Lines().size();
    ASSERT_TRUE(frame.ReadCard());
    EXPECT_EQ(doc.Lines().size(), before + 1);
    EXPECT_TRUE(prompts.asked.filter("別のカード").isEmpty()); // known by its records
    EXPECT_TRUE(frame.Form().List().isColumnHidden(EntryTableModel::Card));

    int listed = -1;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CCardNamesDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        listed = dialog->Table().rowCount();
        dialog->Table().item(0, 2)->setText(QStringLiteral("通勤用 Suica"));
        dialog->accept();
    });
    frame.Commands().Get("ID_CARD_NAMES")->trigger();
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(settings.CardNameOf("011402123A4B5C6D"), QStringLiteral("通勤用 Suica"));
    EXPECT_EQ(settings.CardNameOf("012E4471089C1022"), QStringLiteral("通勤用 Suica"));
}

// F1 and ヘルプ → 使い方 open the manual that ships beside the program.
TEST_F(MainFrameTest, F1OpensTheManual)
{
    QAction* usage = frame.Commands().Get("ID_HELP_USAGE");
    ASSERT_NE(usage, nullptr);
    EXPECT_EQ(usage->shortcut(), QKeySequence(Qt::Key_F1));
    QMenu* help = nullptr;
    for (QAction* menu : frame.menuBar()->actions())
        if (menu->text() == "ヘルプ(&H)")
            help = menu->menu();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->actions().contains(usage));

    usage->trigger();
    auto* manual = frame.findChild<CManualDlg*>();
    ASSERT_NE(manual, nullptr);
    EXPECT_TRUE(manual->isVisible());
    EXPECT_TRUE(manual->Text().contains("Fenwir Lite 使い方"));
    EXPECT_TRUE(manual->Text().contains("Ctrl+R")) << manual->Text().toStdString();
    usage->trigger(); // asked again: the same window
    EXPECT_EQ(frame.findChildren<CManualDlg*>().size(), 1);
    manual->close();
}
