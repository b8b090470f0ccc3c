#include "CEditEx.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

TEST(CEditEx, ModesLetThroughWhatTheyAccept)
{
    using Mode = CEditEx::Mode;
    struct Case {
        Mode mode;
        char16_t c;
        int start;
        bool accepted;
    };
    const Case cases[] = {
        {Mode::Digits, u'7', 0, true},         {Mode::Digits, u'a', 0, false},
        {Mode::Digits, u'-', 0, false},        {Mode::Digits, u' ', 0, false},
        {Mode::SignedDigits, u'-', 0, true},   {Mode::SignedDigits, u'-', 2, false},
        {Mode::FileName, u'?', 0, false},      {Mode::FileName, u'\\', 0, true},
        {Mode::PrintableAscii, u'~', 0, true}, {Mode::PrintableAscii, u'あ', 0, false},
        {Mode::Any, u'あ', 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CEditEx::Accepts(c.mode, QChar(c.c), c.start), c.accepted)
            << static_cast<int>(c.mode) << " " << static_cast<int>(c.c);
}

TEST(CEditEx, TypingIsFilteredPastingIsNot)
{
    CEditEx fare(CEditEx::Mode::Digits);
    QTest::keyClicks(&fare, "1a2 -3");
    EXPECT_EQ(fare.text(), "123");
    QTest::keyClick(&fare, Qt::Key_Backspace);
    EXPECT_EQ(fare.text(), "12");
    QApplication::clipboard()->setText("x9");
    fare.paste();
    EXPECT_EQ(fare.text(), "12x9");
}
