#include "TextFormat.h"

#include "ProductVersion.h"
#include "ShiftJis.h"

#include <gtest/gtest.h>

TEST(FormatAmount, Table)
{
    const std::pair<std::int32_t, const char*> cases[] = {
        {0, "     0"},
        {999, "   999"},
        {1000, " 1,000"},
        {12345, "12,345"},
        {99999, "99,999"},
        {100000, "100,000"},
        {1234567, "1234,567"},
        {-5, "    -5"},
        {-999, "  -999"},
        {-1234, "-1,234"},
        {-12345, "-12,345"},
        {-1000, "-1,000"},
        {-2147483647 - 1, "-2147483,648"},
    };
    for (const auto& [amount, text] : cases)
        EXPECT_EQ(FormatAmount(amount), QString::fromLatin1(text)) << amount;
}

TEST(FormatAmount, WidthsBelowAndAboveOneHundredThousand)
{
    for (std::int32_t amount = 0; amount <= 999999; amount += 7) {
        const qsizetype expected = amount < 100000 ? 6 : 7;
        ASSERT_EQ(FormatAmount(amount).size(), expected) << amount;
    }
}

TEST(MakeTimestampName, FormatsLocalTime)
{
    EXPECT_EQ(MakeTimestampName("Entry", ".ent", QDateTime(QDate(2024, 5, 1), QTime(9, 3, 7))),
              "Entry240501-090307.ent");
    EXPECT_EQ(MakeTimestampName("Apply", ".ent", QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59))),
              "Apply091231-235959.ent");
    EXPECT_EQ(MakeTimestampName("Apply", ".ent", QDateTime(QDate(2010, 1, 1), QTime(0, 0, 0))),
              "Apply100101-000000.ent");
}

TEST(UrlEncodeShiftJis, Examples)
{
    EXPECT_EQ(UrlEncodeShiftJis(QStringLiteral("東京 駅")), "%93%8C%8B%9E+%89w");
    EXPECT_EQ(UrlEncodeShiftJis("a-b c"), "a%2Db+c");
    EXPECT_EQ(UrlEncodeShiftJis(QString()), QString());
    EXPECT_EQ(UrlEncodeShiftJis("._~Az09"), "%2E%5F%7EAz09");
    // Best fit first, then "?" for what has no place in the code page.
    EXPECT_EQ(UrlEncodeShiftJis(QStringLiteral("〜😀")), "%81%60%3F");
}

TEST(ProductVersion, FourNumbersAndMajor)
{
    std::uint16_t major = 999;
    const QString version = GetProductVersion(&major);
    EXPECT_EQ(version.split('.').size(), 4);
    EXPECT_EQ(QString::number(major), version.section('.', 0, 0));
}

TEST(ShiftJis, BestFitAsThePlatformConverts)
{
    const struct {
        const char16_t* text;
        const char* hex;
        bool replaced;
    } cases[] = {
        {u"東京〜新宿", "938c8b9e816090568f68", false},
        {u"¥1,000", "5c312c303030", false},
        {u"−", "817c", false},
        {u"‖", "8161", false},
        {u"¢£¬", "8191819281ca", false},
        {u"—", "815c", false},
        {u"～", "8160", false}, // the code page's own tilde stays
        {u"😀a", "3f61", true},
        {u"€", "3f", true},
    };
    for (const auto& c : cases) {
        bool replaced = false;
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(EncodeShiftJisReplacing(text, &replaced).toHex(), QByteArray(c.hex))
            << text.toStdString();
        EXPECT_EQ(replaced, c.replaced) << text.toStdString();
    }
}
