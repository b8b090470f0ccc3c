#include "TextFit.h"

#include "RecordingCanvas.h"

#include <gtest/gtest.h>

namespace
{
// Height 20: each UTF-16 unit measures 10 wide on the recording canvas.
const CanvasFont kFont{QStringLiteral("Face"), 20};

int Chars(int count)
{
    return count * 10;
}
} // namespace

TEST(TextFit, WrapBreaksWhereJapaneseTextMay)
{
    struct Case {
        const char* text;
        int width; // in characters
        QStringList lines;
    };
    const Case cases[] = {
        {"本社", 10, {"本社"}},
        {"株式会社みどり商事 神保町営業所", 10, {"株式会社みどり商事", "神保町営業所"}},
        {"株式会社みどり商事　神保町営業所", 10, {"株式会社みどり商事", "神保町営業所"}},
        {"東京都千代田区神田神保町", 5, {"東京都千代", "田区神田神", "保町"}},
        // Never a line that starts with a closing mark.
        {"打合せ、見積書を持参。", 4, {"打合せ、", "見積書を", "持参。"}},
        {"打合せ、見積書を持参。", 3, {"打合", "せ、見", "積書を", "持参。"}},
        {"Meeting with ABC Corporation", 12, {"Meeting with", "ABC", "Corporation"}},
        {"ABCDEFGHIJKLMNOP", 6, {"ABCDEF", "GHIJKL", "MNOP"}},
        {"本社\n打合せ", 10, {"本社", "打合せ"}},
        {"", 10, {""}},
    };
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        EXPECT_EQ(TextFit::Wrap(canvas, kFont, Chars(c.width), QString::fromUtf8(c.text)), c.lines)
            << c.text;
    }
}

// Spaces are the writer's breaks, but not at the cost of another line.
TEST(TextFit, SpacesBreakUnlessThatTakesMoreLines)
{
    RecordingCanvas canvas;
    EXPECT_EQ(
        TextFit::Wrap(canvas, kFont, Chars(10), QStringLiteral("東京 千代田区神田神保町一丁目")),
        QStringList({"東京 千代田区神田神", "保町一丁目"}));
}

TEST(TextFit, ACharacterBeyondTheBmpStaysWhole)
{
    RecordingCanvas canvas;
    // 𠮷 is two UTF-16 units: one a line when a line holds three.
    const QStringList lines = TextFit::Wrap(canvas, kFont, Chars(3), QString::fromUtf8("𠮷𠮷𠮷"));
    EXPECT_EQ(lines, QStringList({"𠮷", "𠮷", "𠮷"}));
    for (const QString& line : lines)
        EXPECT_TRUE(line.isValidUtf16());
}

TEST(TextFit, OneLineGetsSmallerUntilItFits)
{
    RecordingCanvas canvas;
    const FittedText fits =
        TextFit::OneLine(canvas, kFont, Chars(10), QStringLiteral("西武新宿線"));
    EXPECT_EQ(fits.font.height, 20);
    EXPECT_EQ(fits.lines, QStringList{"西武新宿線"});
    const FittedText smaller =
        TextFit::OneLine(canvas, kFont, Chars(10), QStringLiteral("西武新宿線 下落合駅前"));
    EXPECT_EQ(smaller.lines, QStringList{"西武新宿線 下落合駅前"});
    EXPECT_LE(11 * smaller.font.height / 2, Chars(10));
    EXPECT_GE(11 * (smaller.font.height + 1) / 2, Chars(10)) << "no smaller than needed";
    EXPECT_EQ(smaller.lineHeight, smaller.font.height);
}

// In a cell 40 high a text takes one line of 20, else two of 20 or a little
// smaller, else three of 13, and so on: the largest size whose lines fit.
TEST(TextFit, WrappedTakesTheLargestSizeThatFits)
{
    struct Case {
        int characters;
        int lines;
        int height;
    };
    const Case cases[] = {{8, 1, 20}, {10, 1, 20}, {20, 2, 20}, {21, 2, 18}, {45, 3, 13}};
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        const QString text = QString(c.characters, QChar(0x6771));
        const FittedText fitted = TextFit::Wrapped(canvas, kFont, Chars(10), 40, text);
        EXPECT_EQ(fitted.lines.size(), c.lines) << c.characters;
        EXPECT_EQ(fitted.font.height, c.height) << c.characters;
        EXPECT_EQ(fitted.lines.join(QString()), text);
    }
    // A negative (character) height stays negative.
    RecordingCanvas canvas;
    EXPECT_LT(TextFit::Wrapped(canvas, {QStringLiteral("Face"), -20}, Chars(10), 40,
                               QString(30, QChar(0x6771)))
                  .font.height,
              0);
}
