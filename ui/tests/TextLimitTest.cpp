#include "TextLimit.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>

namespace
{
void Commit(QLineEdit& edit, const QString& text)
{
    QInputMethodEvent composing(text, {});
    QApplication::sendEvent(&edit, &composing);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(&edit, &commit);
}

void Paste(QLineEdit& edit, const QString& text)
{
    QApplication::clipboard()->setText(text);
    edit.paste();
}
} // namespace

// What does not fit is taken back whole and said, however it came: typed,
// pasted over the text or a selection, or composed with an input method.
TEST(TextLimit, InputBeyondTheLimitIsRefusedWholeAndSaid)
{
    struct Case {
        const char* how;
        std::function<void(QLineEdit&)> input;
        QString text;
        QStringList refused;
    };
    const Case cases[] = {
        {"typed", [](QLineEdit& e) { QTest::keyClicks(&e, "defg"); }, "abcde", {"f", "g"}},
        {"pasted", [](QLineEdit& e) { Paste(e, "defg"); }, "abc", {"defg"}},
        {"pasted, fits", [](QLineEdit& e) { Paste(e, "de"); }, "abcde", {}},
        {"composed", [](QLineEdit& e) { Commit(e, "でふぐ"); }, "abc", {"でふぐ"}},
        {"composed, fits", [](QLineEdit& e) { Commit(e, "でふ"); }, "abcでふ", {}},
        {"outside the BMP counts one", [](QLineEdit& e) { Paste(e, "𠮷𠮷"); }, "abc𠮷𠮷", {}},
        {"over a selection",
         [](QLineEdit& e) {
             e.selectAll();
             Paste(e, "123456");
         },
         "abc",
         {"123456"}},
        {"over a selection, fits",
         [](QLineEdit& e) {
             e.setSelection(1, 1);
             Paste(e, "xyz");
         },
         "axyzc",
         {}},
    };
    for (const Case& c : cases) {
        QLineEdit edit;
        edit.setText("abc");
        TextLimit limit(edit, 5, nullptr);
        QStringList refused;
        QObject::connect(&limit, &TextLimit::Refused,
                         [&](const QString& text) { refused << text; });
        c.input(edit);
        EXPECT_EQ(edit.text(), c.text) << c.how;
        EXPECT_EQ(refused, c.refused) << c.how;
        // After a refusal the field goes on as usual.
        QTest::keyClick(&edit, Qt::Key_End);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClicks(&edit, "z");
        EXPECT_TRUE(edit.text().endsWith('z')) << c.how;
        EXPECT_EQ(refused, c.refused) << c.how;
    }
}

// A longer text the program sets (an older file's) stays whole; the user may
// shorten it but not make it longer.
TEST(TextLimit, LongerStoredTextMayShrinkNotGrow)
{
    QWidget window;
    QLineEdit edit(&window);
    TextLimit limit(edit, 5, &window);
    QStringList refused;
    QObject::connect(&limit, &TextLimit::Refused, [&](const QString& text) { refused << text; });
    edit.setText("1234567");
    EXPECT_EQ(edit.text(), "1234567");
    EXPECT_EQ(limit.Counter()->text(), "7/5");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "123456");
    QTest::keyClicks(&edit, "x");
    EXPECT_EQ(edit.text(), "123456");
    EXPECT_EQ(refused, QStringList{"x"});
    EXPECT_EQ(limit.Counter()->text(), "6/5");
}

// The counter shows while the field has the focus, and always when it is full.
TEST(TextLimit, CounterShowsWhileTypingAndWhenFull)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    auto* other = new QLineEdit(&window);
    TextLimit limit(*edit, 5, &window);
    layout->addWidget(edit);
    layout->addWidget(limit.Counter());
    layout->addWidget(other);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    EXPECT_FALSE(limit.Counter()->isVisible());
    edit->setFocus();
    QTest::keyClicks(edit, "abc");
    EXPECT_TRUE(limit.Counter()->isVisible());
    EXPECT_EQ(limit.Counter()->text(), "3/5");
    other->setFocus();
    EXPECT_FALSE(limit.Counter()->isVisible());
    edit->setText("abcde");
    EXPECT_TRUE(limit.Counter()->isVisible());
    EXPECT_EQ(limit.Counter()->text(), "5/5");
    edit->setEnabled(false); // nothing to type: no counter
    EXPECT_FALSE(limit.Counter()->isVisible());
}

TEST(TextLimit, InsertedIsTheDifferingMiddle)
{
    struct Case {
        QString before, after, inserted;
    };
    const Case cases[] = {
        {"abc", "abcd", "d"}, {"abc", "xabc", "x"},   {"abc", "aXYc", "XY"}, {"", "paste", "paste"},
        {"aa", "aaa", "a"},   {"a𠮷", "a𠮷𠮷", "𠮷"}, {"ab", "a𠮷b", "𠮷"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextLimit::Inserted(c.before, c.after), c.inserted)
            << c.before.toStdString() << " -> " << c.after.toStdString();
    EXPECT_EQ(TextLimit::Length("a𠮷b"), 3);
}
