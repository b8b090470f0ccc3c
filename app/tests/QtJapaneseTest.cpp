// Qt's own dialogs in Japanese on any locale: the tests run under the C
// locale, as a desktop set to C.UTF-8 or English would start the program.
#include "QtJapanese.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

namespace
{
QString SystemTranslation()
{
    const QString path =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm");
    return QFile::exists(path) ? path : QString();
}

class QtJapaneseTest : public ::testing::Test
{
protected:
    ~QtJapaneseTest() override { QLocale::setDefault(QLocale::system()); }
};
} // namespace

TEST_F(QtJapaneseTest, QtsDialogsSpeakJapanese)
{
    if (SystemTranslation().isEmpty())
        GTEST_SKIP() << "qtbase_ja.qm is missing: run tools/setup.sh (qt6-translations-l10n)";
    QtJapanese japanese;
    ASSERT_TRUE(japanese.Install());
    EXPECT_EQ(japanese.TranslationFile(), SystemTranslation());

    QPrinter printer;
    QPrintDialog dialog(&printer);
    const auto radio = [&](const char* name) {
        auto* button = dialog.findChild<QRadioButton*>(QLatin1String(name));
        return button ? button->text() : QStringLiteral("(none)");
    };
    EXPECT_EQ(radio("printAll"), "すべて印刷");         // Qt's translation
    EXPECT_EQ(radio("pagesRadioButton"), "ページ指定"); // what it lacks
    EXPECT_EQ(radio("duplexLong"), "長辺とじ");
    EXPECT_EQ(radio("noDuplex"), "しない");
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), "フォルダ");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "アドレス:");

    // The calendar of a date field names the month in Japanese.
    QDateEdit date(QDate(2026, 11, 2));
    date.setCalendarPopup(true);
    auto* month =
        date.calendarWidget()->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text(), "11月");
    EXPECT_EQ(QLocale().dayName(1, QLocale::ShortFormat), "月");
}

// A copy beside the program wins over Qt's own folder, whether it is Qt's
// module file or the one file a deployment gathers; without any, Qt's texts
// stay English but the supplement and the names still apply.
TEST_F(QtJapaneseTest, FindsTheTranslationBesideTheProgramFirst)
{
    const QString system = SystemTranslation();
    if (system.isEmpty())
        GTEST_SKIP() << "qtbase_ja.qm is missing: run tools/setup.sh (qt6-translations-l10n)";
    const QStringList defaults = QtJapanese::Folders();
    ASSERT_EQ(defaults.size(), 3);
    EXPECT_EQ(defaults[0], QCoreApplication::applicationDirPath() + "/translations");
    EXPECT_EQ(defaults[1], QCoreApplication::applicationDirPath());
    EXPECT_EQ(defaults[2], QLibraryInfo::path(QLibraryInfo::TranslationsPath));

    for (const char* name : {"qtbase_ja.qm", "qt_ja.qm"}) {
        SCOPED_TRACE(name);
        QTemporaryDir beside;
        const QString copy = beside.filePath(QLatin1String(name));
        ASSERT_TRUE(QFile::copy(system, copy));
        QtJapanese japanese;
        EXPECT_TRUE(japanese.Install({beside.filePath("translations"), beside.path(),
                                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)}));
        EXPECT_EQ(japanese.TranslationFile(), copy);
        EXPECT_EQ(QCoreApplication::translate("QPrintSettingsOutput", "Print all"), "すべて印刷");
    }

    QTemporaryDir empty;
    QtJapanese japanese;
    EXPECT_FALSE(japanese.Install({empty.path()}));
    EXPECT_EQ(QCoreApplication::translate("QPrintSettingsOutput", "Print all"), "Print all");
    EXPECT_EQ(QCoreApplication::translate("QPrintSettingsOutput", "Pages"), "ページ指定");
    EXPECT_EQ(QLocale().monthName(11), "11月");
}
