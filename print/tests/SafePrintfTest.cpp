#include "SafePrintf.h"

#include <gtest/gtest.h>

TEST(SafePrintf, OneArgumentNeverReadsBeyondIt)
{
    struct Case {
        const char* format;
        std::variant<long long, QString> argument;
        const char* expected;
    };
    const Case cases[] = {
        {"%d", 46LL, "46"},
        {"No.%03d", 7LL, "No.007"},
        {"%-4d|", 7LL, "7   |"},
        {"%s", QString(" 1,234"), " 1,234"},
        {"合計 %s 円", QString("12,345"), "合計 12,345 円"},
        {"%s", 5LL, "5"},
        {"%d", QString("(1/2)"), "0"},
        {"%s %s %n %p", QString("x"), "x x %n %p"},
        {"100%%", 1LL, "100%"},
        {"%", 1LL, "%"},
        {"%5s|", QString("ab"), "   ab|"},
        {"%.1s", QString("承認印"), "承"},
        {"", 1LL, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SafePrintf(QString::fromUtf8(c.format), c.argument),
                  QString::fromUtf8(c.expected))
            << c.format;
}
