#include "PdfTextLayer.h"

#include "Folders.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>

namespace
{
QByteArray Big16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray Big32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A character map with a format 4 stub and a format 12 subtable of these
// groups (first, last, first glyph).
QByteArray CharacterMap(const std::vector<std::array<quint32, 3>>& groups)
{
    QByteArray format12 = Big16(12) + Big16(0) + Big32(16 + 12 * groups.size()) + Big32(0) +
                          Big32(static_cast<quint32>(groups.size()));
    for (const auto& [first, last, glyph] : groups)
        format12 += Big32(first) + Big32(last) + Big32(glyph);
    const QByteArray format4 = Big16(4) + Big16(16) + QByteArray(12, '\0');
    return Big16(0) + Big16(2) + Big16(3) + Big16(1) + Big32(20) + Big16(3) + Big16(10) +
           Big32(20 + format4.size()) + format4 + format12;
}

// A PDF laid out as Qt writes one: objects, a ToUnicode map, one
// cross-reference table.
QByteArray Pdf(const QByteArray& bfranges)
{
    const QByteArray map = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                           "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
                           "3 beginbfrange\n" +
                           bfranges + "endbfrange\nendcmap\nend\nend\n";
    QByteArray pdf = "%PDF-1.4\n";
    std::vector<qsizetype> offsets;
    offsets.push_back(pdf.size());
    pdf += "1 0 obj\n<<\n/Type /Catalog\n/Pages 2 0 R\n>>\nendobj\n";
    offsets.push_back(pdf.size());
    pdf += "2 0 obj\n<< /Length " + QByteArray::number(map.size()) + " >>\nstream\n" + map +
           "\nendstream\nendobj\n";
    offsets.push_back(pdf.size());
    pdf += "3 0 obj\n<< /Type /Font\n/ToUnicode 2 0 R>>\nendobj\n";
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 4\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<<\n/Size 4\n/Root 1 0 R\n>>\nstartxref\n" + QByteArray::number(xref) +
           "\n%%EOF\n";
    return pdf;
}

// Every cross-reference names where its object starts, startxref the table,
// and the map's length is its stream's.
void ExpectConsistent(const QByteArray& pdf)
{
    const qsizetype xref = pdf.mid(pdf.lastIndexOf("startxref\n") + 10).split('\n')[0].toLongLong();
    ASSERT_EQ(pdf.mid(xref, 5), "xref\n");
    const QList<QByteArray> table = pdf.mid(xref).split('\n');
    for (int object = 1; object <= 3; ++object) {
        const qsizetype offset = table[2 + object].left(10).toLongLong();
        EXPECT_TRUE(pdf.mid(offset).startsWith(QByteArray::number(object) + " 0 obj\n")) << object;
    }
    static const QRegularExpression stream(QStringLiteral("/Length (\\d+) >>\\nstream\\n"));
    const auto match = stream.match(QString::fromLatin1(pdf));
    ASSERT_TRUE(match.hasMatch());
    const qsizetype end = match.capturedEnd(0) + match.captured(1).toLongLong();
    EXPECT_EQ(pdf.mid(end, 10), "\nendstream");
}
} // namespace

TEST(PdfTextLayer, AliasesNameTheLowestCharacterOfTheirGlyph)
{
    const QByteArray cmap = CharacterMap({
        {0x41, 0x42, 5},         // A B: glyphs 5 6
        {0xE000, 0xE002, 100},   // three aliases: glyphs 100-102
        {0x20B9F, 0x20B9F, 101}, // two characters of glyph 101
        {0x20BB7, 0x20BB7, 100}, //
        {0x2F8A6, 0x2F8A6, 101}, //
        {0x31000, 0x31000, 7},   // glyph 7 has no alias
    });
    const PdfTextLayer::Aliases aliases = PdfTextLayer::AliasesOfCharacterMap(cmap);
    EXPECT_EQ(aliases.size(), 2);
    EXPECT_EQ(aliases.value(0xE000), char32_t(0x20BB7));
    EXPECT_EQ(aliases.value(0xE001), char32_t(0x20B9F));
    EXPECT_FALSE(aliases.contains(0xE002)) << "glyph 102 has no character beyond the BMP";

    EXPECT_TRUE(PdfTextLayer::AliasesOfCharacterMap(QByteArray()).isEmpty());
    EXPECT_TRUE(PdfTextLayer::AliasesOfCharacterMap(cmap.left(40)).isEmpty());
    EXPECT_TRUE(PdfTextLayer::ReadAliases("/nonexistent.otf").isEmpty());
}

TEST(PdfTextLayer, AliasesInTheMapBecomeTheirCharacters)
{
    const PdfTextLayer::Aliases aliases{{0xE170, 0x20BB7}, {0xE171, 0x2A6B2}};
    const QByteArray before = Pdf("<0000> <0000> <0000>\n"
                                  "<0001> <0003> [<6771> <E170> <4EAC> ]\n"
                                  "<0004> <0005> <E170>\n"
                                  "<0006> <0007> <4E00>\n");
    const QByteArray after = PdfTextLayer::RestoreCharacters(before, aliases);
    ASSERT_NE(after, before);
    EXPECT_TRUE(after.contains("<0000> <0000> <0000>\n"));
    EXPECT_TRUE(after.contains("<0001> <0003> [<6771> <d842dfb7> <4EAC>]\n"));
    EXPECT_TRUE(after.contains("<0004> <0005> [<d842dfb7> <d869deb2>]\n"))
        << "a range counting through aliases is spelled out";
    EXPECT_TRUE(after.contains("<0006> <0007> <4E00>\n"));
    ExpectConsistent(before);
    ExpectConsistent(after);
}

TEST(PdfTextLayer, PdfsWithoutAliasesOrOfAnotherShapeStayAsTheyAre)
{
    const PdfTextLayer::Aliases aliases{{0xE170, 0x20BB7}};
    const QByteArray plain = Pdf("<0001> <0002> [<6771> <4EAC> ]\n");
    EXPECT_EQ(PdfTextLayer::RestoreCharacters(plain, aliases), plain);
    const QByteArray aliased = Pdf("<0001> <0001> <E170>\n");
    EXPECT_EQ(PdfTextLayer::RestoreCharacters(aliased, {}), aliased);
    for (const QByteArray& broken :
         {QByteArray(aliased).replace("startxref\n", "startxref\n9"),
          QByteArray(aliased).replace("/Length ", "/Length 9"), aliased.left(aliased.size() / 2),
          QByteArray(aliased).replace("xref\n0 4", "xref\n0 9")})
        EXPECT_EQ(PdfTextLayer::RestoreCharacters(broken, aliases), broken);
}

// The regular style's codes serve every text of a PDF: the bold one, cut to
// the form's headings, gives no code another character.
TEST(PdfTextLayer, PrintFontStylesShareTheirAliases)
{
    const QString folder = QCoreApplication::applicationDirPath();
    const auto regular = PdfTextLayer::ReadAliases(folder + "/FenwirPrintSans-Regular.otf");
    const auto bold = PdfTextLayer::ReadAliases(folder + "/FenwirPrintSans-Bold.otf");
    // JIS X 0213's 303 characters beyond the BMP, and 𠮷.
    ASSERT_EQ(regular.size(), 304) << "the print font is missing: run tools/setup.sh";
    for (auto alias = bold.begin(); alias != bold.end(); ++alias)
        EXPECT_EQ(regular.value(alias.key()), alias.value()) << int(alias.key());
    EXPECT_EQ(regular.value(0xE000), char32_t(0x2000B)) << "the first character beyond the BMP";
    for (char32_t name : {0x20BB7, 0x29E3D}) // 𠮷 𩸽
        EXPECT_TRUE(std::any_of(regular.begin(), regular.end(), [&](char32_t c) {
            return c == name;
        })) << int(name);
}
