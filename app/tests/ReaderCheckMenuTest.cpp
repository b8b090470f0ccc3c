#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CMainFrame.h"
#include "CReaderCheckDlg.h"
#include "CommandTable.h"
#include "PcscUnavailable.h"
#include "ReaderPlatform.h"
#include "ReaderSelection.h"
#include "ScriptedPrompts.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <gtest/gtest.h>

// ヘルプ → カードリーダーの確認... opens the survey of the attached readers.
TEST(ReaderCheckMenu, HelpMenuOpensTheReaderCheck)
{
    AppSettings settings;
    CCorvaneDoc doc(settings);
    ScriptedPrompts prompts;
    PcscUnavailable noPcsc;
    ReaderEnvironment reader{noPcsc, "/nonexistent/libfelica.so"};
    CMainFrame frame(settings, doc, prompts, reader);
    QAction* check = frame.Commands().Get("ID_READER_CHECK");
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->isEnabled());
    EXPECT_EQ(check->text(), "カードリーダーの確認(&C)...");
    QMenu* help = nullptr;
    for (QAction* menu : frame.menuBar()->actions())
        if (menu->text() == "ヘルプ(&H)")
            help = menu->menu();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->actions().contains(check));

    QString shown;
    QTimer::singleShot(0, &frame, [&shown] {
        if (auto* dialog = qobject_cast<CReaderCheckDlg*>(QApplication::activeModalWidget())) {
            shown = dialog->Text();
            dialog->reject();
        }
    });
    check->trigger();
    EXPECT_TRUE(shown.contains("PC/SC (" + ReaderPlatform::PcscServiceName() + "):"))
        << shown.toStdString();
}
