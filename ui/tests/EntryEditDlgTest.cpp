#include "CEditEx.h"
#include "CEntryEditDlg.h"
#include "LocalTime.h"
#include "ScriptedPrompts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
        EXPECT_EQ(result.applyFlag, 1); // a fare: marked again
    }
    // An empty fare is refused; the dialog stays open.
    {
        CEntryEditDlg dialog(EntryInfo::ManualLine(0), {}, QString(), nullptr, true, prompts);
        dialog.FareEdit()->clear();
        dialog.show();
        dialog.accept();
        EXPECT_EQ(prompts.asked.value(0), "整数を入力してください。");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.FareEdit()->maxLength(), 5);
    }
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
    EXPECT_EQ(dialog.NameEdit(0)->maxLength(), 20);
    EXPECT_EQ(dialog.FareEdit()->maxLength(), 5);
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
