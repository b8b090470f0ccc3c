#include "CEditEx.h"
#include "CEntryEditDlg.h"
#include "LocalTime.h"
#include "RefusalNotice.h"
#include "ScriptedPrompts.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace
{
EntryInfo CardLine(int process)
{
    EntryInfo line;
    line.terminalType = 0x16;
    line.processType = static_cast<std::uint8_t>(process);
    line.dateTime = *LocalToTimestamp(2024, 5, 1, 0, 0, 0);
    line.fare = 210;
    line.applyFlag = 1;
    line.entryLine = 0x25;
    line.entryStation = 0x0A;
    line.exitLine = 0x25;
    line.exitStation = 0x14;
    line.balance = 1200;
    line.serialNumber = 77;
    line.entryStationName = QStringLiteral("東京");
    line.exitStationName = QStringLiteral("新宿");
    line.entryLatitude = 35.0;
    line.entryLongitude = 139.0;
    line.exitLatitude = 35.0;
    line.exitLongitude = 139.1;
    line.distance = 9118;
    line.bearing = 90.0f;
    return line;
}
// Text as an input method gives it: composed, then committed.
void Compose(QLineEdit& edit, const QString& text)
{
    QInputMethodEvent composing(text, {});
    QApplication::sendEvent(&edit, &composing);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(&edit, &commit);
}
} // namespace

TEST(EntryEditDlg, CardLinesKeepWhatTheCardRecorded)
{
    ScriptedPrompts prompts;
    const struct {
        int process;
        bool entry, exit;
    } cases[] = {{0x01, false, false}, {0x03, false, true}, {0x04, true, false},
                 {0x0D, true, true},   {0x0F, true, true},  {0x05, false, false}};
    for (const auto& c : cases) {
        CEntryEditDlg dialog(CardLine(c.process), {}, QString(), nullptr, false, prompts);
        EXPECT_FALSE(dialog.DateEdit()->isEnabled());
        EXPECT_FALSE(dialog.FareEdit()->isEnabled());
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(dialog.NameEdit(i)->isEnabled(), c.entry) << c.process;
            EXPECT_EQ(dialog.NameEdit(i + 3)->isEnabled(), c.exit) << c.process;
        }
        EXPECT_TRUE(dialog.VisitCombo()->isEnabled());
        EXPECT_TRUE(dialog.RemarksEdit()->isEnabled());
        EXPECT_EQ(dialog.windowTitle(), "交通費編集");
        EXPECT_TRUE(dialog.CopyButton()->isHidden());
        EXPECT_FALSE(dialog.ReportLink()->isHidden());
        EXPECT_EQ(dialog.DistanceText()->text(), "9.1km");
    }
}

TEST(EntryEditDlg, OkRules)
{
    ScriptedPrompts prompts;
    // A bus line whose exit stop is renamed loses its distance and coordinates.
    {
        CEntryEditDlg dialog(CardLine(0x0D), {}, QString(), nullptr, false, prompts);
        dialog.NameEdit(5)->setText(QStringLiteral("新宿西口"));
        dialog.accept();
        const EntryInfo& line = dialog.WorkingCopy();
        EXPECT_EQ(line.exitStationName, "新宿西口");
        EXPECT_EQ(line.distance, 0);
        EXPECT_EQ(line.exitLatitude, 0.0);
        EXPECT_EQ(line.terminalType, 0x16); // still the card's line
    }
    // A manual line whose date changes stays manual; fare 0 clears the mark.
    {
        EntryInfo manual = EntryInfo::ManualLine(*LocalToTimestamp(2024, 5, 1, 9, 30, 0));
        manual.fare = 300;
        CEntryEditDlg dialog(manual, {"本社", "支店"}, QString(), nullptr, true, prompts);
        EXPECT_TRUE(dialog.ReportLink()->isHidden());
        EXPECT_TRUE(dialog.DistanceText()->isHidden());
        EXPECT_EQ(dialog.VisitCombo()->count(), 2);
        dialog.DateEdit()->setDate(QDate(2024, 5, 3));
        dialog.FareEdit()->setText("0");
        dialog.VisitCombo()->setEditText(QStringLiteral("支店"));
        dialog.accept();
        const EntryInfo& line = dialog.WorkingCopy();
        EXPECT_TRUE(line.IsManual());
        EXPECT_EQ(line.applyFlag, 0);
        EXPECT_EQ(line.dateTime, *LocalToTimestamp(2024, 5, 3, 9, 30, 0));
        EXPECT_EQ(line.visitDestination, "支店");
    }
    // A card line whose date is changed becomes a manual line.
    {
        EntryInfo line = CardLine(0x01);
        line.applyFlag = 0;
        CEntryEditDlg dialog(line, {}, QString(), nullptr, true, prompts);
        dialog.DateEdit()->setDate(QDate(2024, 5, 2));
        dialog.accept();
        const EntryInfo& result = dialog.WorkingCopy();
        EXPECT_TRUE(result.IsManual());
        EXPECT_EQ(result.balance, 0);
        EXPECT_EQ(result.serialNumber, 0);
        EXPECT_EQ(result.distance, 0);
        EXPECT_EQ(result.applyFlag, 0); // the user's mark stays
    }
    // An empty fare is refused; the dialog stays open.
    {
        CEntryEditDlg dialog(EntryInfo::ManualLine(0), {}, QString(), nullptr, true, prompts);
        dialog.FareEdit()->clear();
        dialog.show();
        dialog.accept();
        EXPECT_EQ(prompts.asked.value(0), "整数を入力してください。");
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClicks(dialog.FareEdit(), "123456");
        EXPECT_EQ(dialog.FareEdit()->text(), "12345");
    }
}

// A fare the card did not hold may be typed in (then the trip is claimed)
// or left unknown; never 0 unasked.
TEST(EntryEditDlg, AFareTheCardDidNotHoldMayBeTypedIn)
{
    ScriptedPrompts prompts;
    EntryInfo oldest = CardLine(0x01);
    oldest.fare = 0;
    oldest.applyFlag = 0;
    oldest.fareUnknown = true;
    struct Case {
        const char* typed;
        bool unknown;
        int fare;
        int mark;
    };
    for (const Case& c : {Case{"", true, 0, 0}, Case{"160", false, 160, 1}}) {
        CEntryEditDlg dialog(oldest, {}, QString(), nullptr, false, prompts);
        EXPECT_TRUE(dialog.FareEdit()->isEnabled());
        EXPECT_EQ(dialog.FareEdit()->text(), "");
        EXPECT_EQ(dialog.FareEdit()->placeholderText(), "不明");
        QTest::keyClicks(dialog.FareEdit(), c.typed);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.typed;
        EXPECT_EQ(dialog.WorkingCopy().fareUnknown, c.unknown) << c.typed;
        EXPECT_EQ(dialog.WorkingCopy().fare, c.fare) << c.typed;
        EXPECT_EQ(dialog.WorkingCopy().applyFlag, c.mark) << c.typed;
    }
    EXPECT_TRUE(prompts.asked.isEmpty());
    // A known fare of the card stays the card's.
    CEntryEditDlg known(CardLine(0x01), {}, QString(), nullptr, false, prompts);
    EXPECT_FALSE(known.FareEdit()->isEnabled());
}

TEST(EntryEditDlg, AddingWithATemplateCopiesItsTexts)
{
    ScriptedPrompts prompts;
    EntryInfo source = CardLine(0x01);
    source.visitDestination = QStringLiteral("本社");
    source.remarks = QStringLiteral("往路");
    CEntryEditDlg dialog(EntryInfo::ManualLine(0), {}, QString(), &source, true, prompts);
    EXPECT_EQ(dialog.windowTitle(), "交通費追加");
    ASSERT_FALSE(dialog.CopyButton()->isHidden());
    dialog.CopyButton()->click();
    dialog.accept();
    EXPECT_EQ(dialog.WorkingCopy().exitStationName, "新宿");
    EXPECT_EQ(dialog.WorkingCopy().fare, 210);
    EXPECT_EQ(dialog.WorkingCopy().remarks, "往路");
    EXPECT_EQ(dialog.WorkingCopy().visitDestination, "本社");
    EXPECT_TRUE(dialog.WorkingCopy().IsManual());
}

// The length limits are for typing: long stored texts open whole, and OK on
// an untouched dialog gives the line back as it was.
TEST(EntryEditDlg, LongStoredTextsComeBackUnchanged)
{
    ScriptedPrompts prompts;
    const QString longStation = QString(21, QChar(u'駅'));
    const QString longText = QString(35, QChar(u'備'));
    EntryInfo manual = EntryInfo::ManualLine(*LocalToTimestamp(2024, 5, 1, 9, 0, 0));
    manual.fare = 123456;
    manual.applyFlag = 1;
    manual.exitStationName = longStation;
    manual.remarks = longText;
    manual.visitDestination = longText;
    manual.exitLatitude = 35.1;
    manual.distance = 14000;
    EntryInfo card = CardLine(0x0D); // a bus: both sides editable
    card.entryStationName = longStation;
    for (const EntryInfo& line : {manual, card}) {
        CEntryEditDlg dialog(line, {}, QString(), nullptr, line.IsManual(), prompts);
        EXPECT_EQ(dialog.NameEdit(line.IsManual() ? 5 : 2)->text(), longStation);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.WorkingCopy(), line);
    }
    // Typing still stops at the limit.
    CEntryEditDlg dialog(EntryInfo::ManualLine(0), {}, QString(), nullptr, true, prompts);
    QTest::keyClicks(dialog.NameEdit(0), QString(21, QChar(u'a')));
    EXPECT_EQ(dialog.NameEdit(0)->text(), QString(20, QChar(u'a')));
    dialog.FareEdit()->clear();
    QTest::keyClicks(dialog.FareEdit(), "123456");
    EXPECT_EQ(dialog.FareEdit()->text(), "12345");
}

// Typing starts in the first field that may change.
TEST(EntryEditDlg, FocusStartsInTheFirstFieldThatMayChange)
{
    ScriptedPrompts prompts;
    CEntryEditDlg manual(EntryInfo::ManualLine(0), {}, QString(), nullptr, true, prompts);
    EXPECT_EQ(manual.focusWidget(), manual.DateEdit());
    CEntryEditDlg bus(CardLine(0x0D), {}, QString(), nullptr, false, prompts);
    EXPECT_EQ(bus.focusWidget(), bus.NameEdit(0));
    CEntryEditDlg rail(CardLine(0x01), {}, QString(), nullptr, false, prompts);
    EXPECT_EQ(rail.focusWidget(), rail.VisitCombo());
}

// The claim mark comes back as the user left it; only a fare set to or from
// 0 decides it.
TEST(EntryEditDlg, TheMarkStaysTheUsersOwn)
{
    ScriptedPrompts prompts;
    EntryInfo unticked = CardLine(0x01);
    unticked.applyFlag = 0;
    EntryInfo manual = EntryInfo::ManualLine(*LocalToTimestamp(2024, 5, 1, 9, 0, 0));
    manual.fare = 300;
    EntryInfo manualUnticked = manual;
    manualUnticked.applyFlag = 0;
    EntryInfo withoutFare = manualUnticked;
    withoutFare.fare = 0;
    struct Case {
        const char* what;
        EntryInfo line;
        const char* fare; // typed into the fare, or nullptr
        int mark;
    };
    const Case cases[] = {
        {"unticked card line, visit typed", unticked, nullptr, 0},
        {"ticked card line", CardLine(0x01), nullptr, 1},
        {"unticked manual line", manualUnticked, nullptr, 0},
        {"unticked manual line, new fare", manualUnticked, "420", 0},
        {"ticked manual line, fare 0", manual, "0", 0},
        {"no fare before, one now", withoutFare, "500", 1},
        {"new line with a fare", EntryInfo::ManualLine(0), "320", 1},
        {"new line without a fare", EntryInfo::ManualLine(0), nullptr, 0},
    };
    for (const Case& c : cases) {
        CEntryEditDlg dialog(c.line, {}, QString(), nullptr, c.line.IsManual(), prompts);
        dialog.VisitCombo()->setEditText(QStringLiteral("本社"));
        if (c.fare)
            dialog.FareEdit()->setText(QString::fromLatin1(c.fare));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.what;
        EXPECT_EQ(dialog.WorkingCopy().applyFlag, c.mark) << c.what;
    }
}

// Every text shows its count and limit beside it while it is typed; what
// does not fit is refused in words below the fields, and typed or pasted,
// nothing is cut short unseen.
TEST(EntryEditDlg, LimitsAreShownAndWhatDoesNotFitIsSaid)
{
    ScriptedPrompts prompts;
    CEntryEditDlg dialog(EntryInfo::ManualLine(0), {}, QString(), nullptr, true, prompts);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    struct Field {
        QLineEdit* edit;
        QWidget* focus;
        const char* name;
        int limit;
    };
    const Field fields[] = {
        {dialog.NameEdit(0), dialog.NameEdit(0), "入場会社名", 20},
        {dialog.NameEdit(2), dialog.NameEdit(2), "入場駅名", 20},
        {dialog.NameEdit(5), dialog.NameEdit(5), "出場駅名", 20},
        {dialog.VisitCombo()->lineEdit(), dialog.VisitCombo(), "訪問先", 30},
        {dialog.RemarksEdit(), dialog.RemarksEdit(), "備考", 30},
    };
    for (const Field& f : fields) {
        QLabel* counter = dialog.CounterOf(f.edit);
        ASSERT_NE(counter, nullptr) << f.name;
        f.focus->setFocus();
        Compose(*f.edit, "株式会社みどり商事");
        EXPECT_TRUE(counter->isVisible()) << f.name;
        EXPECT_EQ(counter->text(), QStringLiteral("9/%1").arg(f.limit)) << f.name;
        EXPECT_TRUE(dialog.Notice()->isHidden());

        const QString tail = QStringLiteral("神保町支店 第二営業部 三階 受付");
        f.edit->setText(QString(f.limit - 2, QChar(u'あ')));
        QApplication::clipboard()->setText(tail);
        f.edit->paste();
        EXPECT_EQ(f.edit->text(), QString(f.limit - 2, QChar(u'あ'))) << f.name;
        EXPECT_FALSE(dialog.Notice()->isHidden()) << f.name;
        EXPECT_EQ(dialog.Notice()->text(),
                  CEntryEditDlg::RefusedText(QString::fromUtf8(f.name), f.limit, "文字", tail));
        EXPECT_TRUE(dialog.Notice()->text().startsWith(
            QStringLiteral("%1は%2文字までです。").arg(QString::fromUtf8(f.name)).arg(f.limit)));

        Compose(*f.edit, "いう"); // fits: the message goes
        EXPECT_TRUE(dialog.Notice()->isHidden()) << f.name;
        EXPECT_EQ(counter->text(), QStringLiteral("%1/%1").arg(f.limit));
        Compose(*f.edit, "え");
        Compose(*f.edit, "お"); // keys typed on are quoted together
        EXPECT_EQ(dialog.Notice()->text(),
                  CEntryEditDlg::RefusedText(QString::fromUtf8(f.name), f.limit, "文字", "えお"));
    }

    // The fare says what it refuses too.
    dialog.FareEdit()->setFocus();
    dialog.FareEdit()->setText("1234");
    // Keys typed fast are refused one by one and quoted together.
    for (const QString& typed : {QStringLiteral("２"), QStringLiteral("０"), QStringLiteral("円")}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QApplication::sendEvent(dialog.FareEdit(), &key);
    }
    EXPECT_EQ(dialog.Notice()->text(),
              "運賃は数字で入力してください。「２０円」は入力されていません。");
    QTest::keyClicks(dialog.FareEdit(), "56");
    EXPECT_EQ(dialog.FareEdit()->text(), "12345");
    EXPECT_EQ(dialog.Notice()->text(), "運賃は5桁までです。「6」は入力されていません。");
    EXPECT_EQ(dialog.CounterOf(dialog.FareEdit()), nullptr);

    // A long paste is quoted in part.
    const QString yoshi = QStringLiteral("𠮷");
    EXPECT_EQ(CEntryEditDlg::RefusedText("備考", 30, "文字", yoshi.repeated(50)),
              QStringLiteral("備考は30文字までです。「%1…」は入力されていません。")
                  .arg(yoshi.repeated(40)));
}

// A suggested visit destination opens grey and italic with a word of where
// it came from; OK makes it the user's own, and so does typing over it.
TEST(EntryEditDlg, ASuggestedVisitIsConfirmedByOk)
{
    ScriptedPrompts prompts;
    EntryInfo line = CardLine(0x01);
    line.visitDestination = QStringLiteral("本社");
    line.visitSuggested = true;
    {
        CEntryEditDlg dialog(line, {}, QString(), nullptr, false, prompts);
        EXPECT_FALSE(dialog.SuggestionText()->isHidden());
        EXPECT_EQ(dialog.SuggestionText()->text(), CEntryEditDlg::SuggestionNote());
        EXPECT_TRUE(dialog.VisitCombo()->lineEdit()->font().italic());
        dialog.accept();
        EXPECT_EQ(dialog.WorkingCopy().visitDestination, "本社");
        EXPECT_FALSE(dialog.WorkingCopy().visitSuggested);
    }
    {
        CEntryEditDlg dialog(line, {}, QString(), nullptr, false, prompts);
        Compose(*dialog.VisitCombo()->lineEdit(), "別館");
        EXPECT_TRUE(dialog.SuggestionText()->isHidden());
        EXPECT_FALSE(dialog.VisitCombo()->lineEdit()->font().italic());
        dialog.accept();
        EXPECT_EQ(dialog.WorkingCopy().visitDestination, "本社別館");
        EXPECT_FALSE(dialog.WorkingCopy().visitSuggested);
    }
    line.visitSuggested = false;
    CEntryEditDlg typed(line, {}, QString(), nullptr, false, prompts);
    EXPECT_TRUE(typed.SuggestionText()->isHidden());
    EXPECT_FALSE(typed.VisitCombo()->lineEdit()->font().italic());
}
