#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Qt's PDF writer names each glyph's character in the text layer (a font's
// ToUnicode map) by searching the BMP only, so a character beyond it (𠮷,
// U+20BB7) was drawn but missing from the text. The print font gives every
// glyph that only such a character reaches a Private Use code as well; the
// map then names that code, and this puts the character itself in its place.
class PdfTextLayer
{
public:
    using Aliases = QHash<char16_t, char32_t>;

    // The Private Use codes of a font and the character beyond the BMP each
    // stands for (the lowest drawn with the same glyph), from its character
    // map; empty when the file is no font or has no such code.
    static Aliases ReadAliases(const QString& fontPath);
    static Aliases AliasesOfCharacterMap(const QByteArray& cmapTable);

    // The PDF with the aliases in its ToUnicode maps replaced by their
    // characters and its cross-reference table moved to match; the PDF as it
    // was when it names none.
    static QByteArray RestoreCharacters(const QByteArray& pdf, const Aliases& aliases);
};
