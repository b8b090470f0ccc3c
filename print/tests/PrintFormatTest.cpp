#include "PrintFormat.h"

#include "ArchiveWriter.h"
#include "DefaultLayout.h"
#include "FmtWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
PrintItem Of(PrintItem::Kind kind, int marker = 0)
{
    PrintItem item;
    item.kind = kind;
    item.left = marker;
    item.rowsPerPage = 20;
    item.format = QStringLiteral("書式%1").arg(marker);
    item.fontFace = QStringLiteral("ＭＳ 明朝");
    item.italic = 1;
    item.penWidth = 7;
    return item;
}

class PrintFormatTest : public ::testing::Test
{
protected:
    QString Write(const QByteArray& bytes, const QString& name = "layout.fmt")
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};
} // namespace

TEST_F(PrintFormatTest, RoundTripPutsTheListFirst)
{
    PrintFormat written;
    written.paperSize = 8;
    written.orientation = 2;
    written.leftMargin = 15;
    written.topMargin = -20;
    written.items = {Of(PrintItem::ColDate, 1), Of(PrintItem::Text, 2), Of(PrintItem::ColFare, 3),
                     Of(PrintItem::List, 4)};
    PrintFormat read;
    ASSERT_TRUE(read.ReadFile(Write(WriteFmt(written))));
    EXPECT_EQ(read.paperSize, 8);
    EXPECT_EQ(read.orientation, 2);
    EXPECT_EQ(read.leftMargin, 15);
    EXPECT_EQ(read.topMargin, -20);
    ASSERT_EQ(read.items.size(), 4u);
    EXPECT_EQ(read.items[0], written.items[3]);
    EXPECT_EQ(read.items[1], written.items[0]);
    EXPECT_EQ(read.items[2], written.items[1]);
    EXPECT_EQ(read.items[3], written.items[2]);
}

TEST_F(PrintFormatTest, ZeroItemsIsALayoutToo)
{
    PrintFormat empty;
    empty.paperSize = 11;
    PrintFormat read;
    EXPECT_TRUE(read.Load(Write(WriteFmt(empty)), Write(WriteFmt(DefaultLayout()), "Default.fmt")));
    EXPECT_TRUE(read.items.empty());
    EXPECT_EQ(read.paperSize, 11);
}

TEST_F(PrintFormatTest, BrokenFilesResetTheFormat)
{
    PrintFormat written;
    written.paperSize = 8;
    written.leftMargin = 30;
    written.items = {Of(PrintItem::List), Of(PrintItem::ColDate)};
    const QByteArray good = WriteFmt(written);
    ArchiveWriter wrongMarker;
    wrongMarker.WriteString("<## printformat ##>");
    const QByteArray cases[] = {good.left(good.size() - 3), good.left(60), wrongMarker.Data(),
                                QByteArray("garbage")};
    for (const QByteArray& bytes : cases) {
        PrintFormat read;
        read.paperSize = 5;
        read.items = {Of(PrintItem::Text)};
        EXPECT_FALSE(read.ReadFile(Write(bytes)));
        EXPECT_TRUE(read.items.empty());
        EXPECT_EQ(read.paperSize, 9);
        EXPECT_EQ(read.orientation, 1);
        EXPECT_EQ(read.leftMargin, 0);
    }
    PrintFormat untouched;
    untouched.paperSize = 5;
    EXPECT_FALSE(untouched.ReadFile(dir.filePath("missing.fmt")));
    EXPECT_EQ(untouched.paperSize, 5);
}

TEST_F(PrintFormatTest, EightBitTextsLoad)
{
    PrintFormat written;
    written.items = {Of(PrintItem::Text)};
    QByteArray bytes = WriteFmt(written);
    ArchiveWriter utf16;
    utf16.WriteString(written.items[0].format);
    const qsizetype at = bytes.indexOf(utf16.Data());
    ASSERT_GT(at, 0);
    // "書式0" as Shift-JIS 8-bit text: 8F 91 8E AE 30
    bytes.replace(at, utf16.Data().size(), QByteArray("\x05\x8F\x91\x8E\xAE\x30", 6));
    PrintFormat read;
    ASSERT_TRUE(read.ReadFile(Write(bytes)));
    EXPECT_EQ(read.items[0].format, QStringLiteral("書式0"));
}

TEST_F(PrintFormatTest, LoadFallsBackInTurn)
{
    PrintFormat fallback;
    fallback.items = {Of(PrintItem::Title, 9)};
    const QString missing = dir.filePath("missing.fmt");
    PrintFormat fromDefault;
    ASSERT_TRUE(
        fromDefault.Load(Write(QByteArray("torn")), Write(WriteFmt(fallback), "Default.fmt")));
    ASSERT_EQ(fromDefault.items.size(), 1u);
    EXPECT_EQ(fromDefault.items[0].left, 9);

    PrintFormat builtIn;
    ASSERT_TRUE(builtIn.Load(missing, dir.filePath("no-default.fmt")));
    ASSERT_EQ(builtIn.items.size(), 1u);
    const PrintItem& list = builtIn.items[0];
    EXPECT_EQ(list.kind, PrintItem::List);
    EXPECT_EQ(list.left, 10);
    EXPECT_EQ(list.rowHeight, 60);
    EXPECT_EQ(list.rowsPerPage, 20);
    EXPECT_EQ(list.align, 0x8025);
    EXPECT_EQ(list.fontFace, "ＭＳ ゴシック");
    EXPECT_EQ(list.penWidth, 1);
    EXPECT_EQ(builtIn.paperSize, 9);
}

TEST_F(PrintFormatTest, UnprintableLayoutsAreRepaired)
{
    PrintFormat twoLists;
    PrintItem first = Of(PrintItem::List, 1);
    PrintItem second = Of(PrintItem::List, 2);
    second.rowsPerPage = 0;
    twoLists.items = {first, Of(PrintItem::ColDate), second, Of(PrintItem::Stamp)};
    PrintFormat read;
    ASSERT_TRUE(read.ReadFile(Write(WriteFmt(twoLists))));
    ASSERT_EQ(read.items.size(), 3u);
    EXPECT_EQ(read.items[0].left, 2); // the later list item heads the table
    EXPECT_EQ(read.items[0].rowsPerPage, 20);
    EXPECT_EQ(read.items[1].kind, PrintItem::ColDate);

    PrintFormat noList;
    noList.items = {Of(PrintItem::ColDate), Of(PrintItem::Text), Of(PrintItem::ColFare)};
    PrintFormat repaired;
    ASSERT_TRUE(repaired.ReadFile(Write(WriteFmt(noList))));
    ASSERT_EQ(repaired.items.size(), 1u);
    EXPECT_EQ(repaired.items[0].kind, PrintItem::Text);

    // Rows per page are at most what the paper holds: A4 portrait is 2970
    // tenths of a millimetre high, landscape 2100.
    for (const auto& [orientation, rows, rowHeight, kept] :
         {std::tuple{PrintFormat::kPortrait, 2'147'483'647, 60, 49},
          std::tuple{PrintFormat::kLandscape, 2'147'483'647, 60, 35},
          std::tuple{PrintFormat::kPortrait, 1'000'000, 0, 2970},
          std::tuple{PrintFormat::kPortrait, 25, 60, 25}}) {
        PrintFormat huge;
        huge.orientation = orientation;
        PrintItem list = Of(PrintItem::List);
        list.rowsPerPage = rows;
        list.rowHeight = rowHeight;
        huge.items = {list, Of(PrintItem::ColNumber)};
        PrintFormat capped;
        ASSERT_TRUE(capped.ReadFile(Write(WriteFmt(huge))));
        EXPECT_EQ(capped.items[0].rowsPerPage, kept) << rows << " rows of " << rowHeight;
    }
}

TEST_F(PrintFormatTest, ProgramLayoutSitsBesideTheExecutable)
{
    PrintFormat beside;
    ASSERT_TRUE(beside.ReadFile(QCoreApplication::applicationDirPath() + "/Default.fmt"));
    EXPECT_EQ(beside.items, DefaultLayout().items);
}
