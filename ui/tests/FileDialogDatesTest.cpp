// The file dialogs write a file's date as the program does (2026/11/02 9:30),
// not in the system locale's words ("2 Nov 2026").
#include "WidgetPrompts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(FileDialogDates, TheDateColumnIsWrittenInTheProgramsFormat)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QTemporaryDir dir;
    QFile file(dir.filePath("claim.ent"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QDateTime modified(QDate(2026, 11, 2), QTime(9, 30));
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();

    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("treeView"));
        ASSERT_NE(view, nullptr);
        QAbstractItemModel* model = view->model();
        // The folder is read in the background.
        const auto row = [&] {
            const QModelIndex root = view->rootIndex();
            for (int r = 0; r < model->rowCount(root); ++r)
                if (model->index(r, 0, root).data().toString() == "claim.ent")
                    return model->index(r, 3, root);
            return QModelIndex();
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return row().isValid(); }));
        shown = row().data().toString();
        dialog->reject();
    });
    WidgetPrompts prompts;
    EXPECT_TRUE(prompts.OpenFileName("開く", dir.path(), {"交通費 (*.ent)"}).isEmpty());
    EXPECT_EQ(shown, "2026/11/02 9:30");
    QLocale::setDefault(QLocale::system());
}
