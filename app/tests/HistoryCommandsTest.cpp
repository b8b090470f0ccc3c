// 申請履歴 on the claim's own history: a damaged history is said above the
// list, takes no cancellation, and its 修復... button makes it whole.
#include "HistoryCommands.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "HistoryFile.h"
#include "ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(HistoryCommands, ADamagedHistoryIsRepairedFromTheDialog)
{
    QTemporaryDir dir;
    AppSettings settings;
    settings.DefaultPath = dir.path();
    const QString folder = dir.filePath("ApplyHistory");
    QDir().mkpath(folder);
    const std::vector<ApplyRecord> records = {{1, 300, folder + "/Apply261001-090000.ent"},
                                              {2, 600, folder + "/Apply261101-090000.ent"}};
    QByteArray damaged = HistoryFile::Serialize({records, {}});
    damaged.remove(damaged.size() - 3, 1);
    QFile file(folder + "/Apply.hst");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(damaged);
    file.close();

    CCorvaneDoc doc(settings);
    ScriptedPrompts prompts;
    HistoryCommands history(doc);
    CApplyHistoryDlg dialog(history.Access(), prompts);
    ASSERT_EQ(dialog.Table().rowCount(), 1); // what could be read
    EXPECT_FALSE(dialog.ProblemLabel().isHidden());
    EXPECT_TRUE(
        dialog.ProblemLabel().text().contains(QDir::toNativeSeparators(folder + "/Apply.hst")));
    EXPECT_FALSE(dialog.RepairButton().isHidden());
    EXPECT_FALSE(dialog.CancelButton().isEnabled());

    prompts.answers = {Prompts::Answer::No};
    dialog.RepairButton().click();
    QFile kept(folder + "/Apply.hst");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);
    kept.close();

    prompts.answers = {Prompts::Answer::Yes};
    dialog.RepairButton().click();
    const QStringList aside = QDir(folder).entryList({"Apply-damaged-*.hst"});
    ASSERT_EQ(aside.size(), 1) << prompts.asked.join('\n').toStdString();
    EXPECT_TRUE(prompts.asked.last().contains(aside[0])) << prompts.asked.last().toStdString();
    EXPECT_TRUE(dialog.ProblemLabel().isHidden());
    EXPECT_TRUE(dialog.RepairButton().isHidden());
    EXPECT_TRUE(dialog.CancelButton().isEnabled());
    EXPECT_EQ(dialog.Table().rowCount(), 1);
}
