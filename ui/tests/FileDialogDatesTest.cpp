// The file dialogs write a file's date as the program does (2026/11/02 9:30),
// not in the system locale's words ("2 Nov 2026"), and show it whole; the
// CSV dialog asks before it replaces a file.
#include "AppSettings.h"
#include "CCsvFileDlg.h"
#include "WidgetPrompts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

namespace
{
void WriteFile(const QString& path, const QDateTime& modified)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.flush(); // or closing the file would stamp it again
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

// The date a file dialog shows for a file, and whether its column shows it whole.
struct ShownDate {
    QString text;
    bool whole = false;
};

ShownDate DateIn(QFileDialog& dialog, const QString& name)
{
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view)
        return {};
    QAbstractItemModel* model = view->model();
    // The folder is read in the background.
    const auto row = [&] {
        const QModelIndex root = view->rootIndex();
        for (int r = 0; r < model->rowCount(root); ++r)
            if (model->index(r, 0, root).data().toString() == name)
                return model->index(r, 3, root);
        return QModelIndex();
    };
    if (!QTest::qWaitFor([&] { return row().isValid(); }))
        return {};
    const QString text = row().data().toString();
    return {text, view->isVisible() &&
                      view->header()->sectionSize(3) > view->fontMetrics().horizontalAdvance(text)};
}

// Runs f on the modal dialog of type T as soon as it shows.
template <typename T> void OnModal(std::function<void(T&)> f)
{
    QTimer::singleShot(0, [f = std::move(f)] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no dialog";
            return;
        }
        f(*dialog);
    });
}
} // namespace

TEST(FileDialogDates, TheDateColumnIsWrittenInTheProgramsFormatAndWhole)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QTemporaryDir dir;
    WriteFile(dir.filePath("claim.ent"), QDateTime(QDate(2026, 11, 2), QTime(9, 30)));
    WriteFile(dir.filePath("claim.csv"), QDateTime(QDate(2026, 12, 28), QTime(23, 58)));

    ShownDate shown;
    OnModal<QFileDialog>([&](QFileDialog& dialog) {
        shown = DateIn(dialog, "claim.ent");
        dialog.reject();
    });
    WidgetPrompts prompts;
    EXPECT_TRUE(prompts.OpenFileName("開く", dir.path(), {"交通費 (*.ent)"}).isEmpty());
    EXPECT_EQ(shown.text, "2026/11/02 9:30");
    EXPECT_TRUE(shown.whole);

    AppSettings settings;
    CCsvFileDlg csv(settings, dir.filePath("new.csv"));
    csv.show();
    shown = DateIn(csv, "claim.csv");
    EXPECT_EQ(shown.text, "2026/12/28 23:58");
    EXPECT_TRUE(shown.whole);
    QLocale::setDefault(QLocale::system());
}

// A CSV file that is there already is replaced only on the user's word, as a
// claim is when saved.
TEST(FileDialogDates, TheCsvDialogAsksBeforeReplacingAFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("claim.csv");
    WriteFile(path, QDateTime::currentDateTime());
    AppSettings settings;
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        CCsvFileDlg dialog(settings, path);
        dialog.show();
        bool asked = false;
        OnModal<QMessageBox>([&](QMessageBox& box) {
            asked = true;
            box.button(answer)->click();
        });
        QMetaObject::invokeMethod(&dialog, "accept"); // the save button's slot
        EXPECT_TRUE(asked);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, answer == QMessageBox::Yes);
    }
}

// A message with details keeps them behind the box's details button: the
// words for the user in front, the commands for whoever looks after the PC.
TEST(FileDialogDates, MessageDetailsWaitBehindTheDetailsButton)
{
    QString text;
    QString details;
    OnModal<QMessageBox>([&](QMessageBox& box) {
        text = box.text();
        details = box.detailedText();
        box.accept();
    });
    WidgetPrompts prompts;
    prompts.ReportWithDetails(147, "サービスが動いていません。", "sudo systemctl start pcscd",
                              MessageReporter::Icon::Stop);
    EXPECT_EQ(text, "サービスが動いていません。");
    EXPECT_EQ(details, "sudo systemctl start pcscd");
}
