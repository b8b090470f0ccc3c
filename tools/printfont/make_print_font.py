#!/usr/bin/python3
"""Writes the font the claim is printed with: Noto Sans CJK JP, renamed, cut
to the characters Japanese office text uses, with the character-map entries
removed that would give a PDF's text layer the wrong characters.

The regular style holds JIS X 0213 (levels 1 to 4), JIS X 0208 with the NEC
and IBM extensions of code page 932, Latin, kana, the full-width forms, the
symbol blocks of Japanese documents, and 𠮷, the name character beyond JIS
X 0213 that Japanese text meets most. The bold style holds only the
characters given to it: the form's headings. A character outside a style
prints through the system's fonts. The sets come from Python's codecs, so
every build cuts the same font.

Only glyphs the character map reaches are kept: text is drawn unshaped, so
the layout tables (and the Chinese and Korean forms only they reach) and
the variation sequences go. The glyphs lose their hints, which only text
drawn unscaled at screen sizes would use: this font draws pages, whose
preview is scaled and whose PDF and print have the outlines alone. Written
without subroutines, the file compresses better in the installers.

PDF writers rebuild each glyph's character from the font's character map, and
where several characters share one glyph the lowest code point wins: Noto CJK
maps the Kangxi radicals, the CJK radicals and the compatibility ideographs to
the glyphs of the unified ideographs, so 日 came out of a PDF as U+2F47 and 長
as U+2ED1. Of the characters sharing a glyph, those are dropped from the map
that are radicals, compatibility forms (NFKC) of another, or the rarer twin of
a character Japanese text uses; the glyphs and their look are untouched.

Qt's writer also looks for each glyph's character among the BMP only, so a
character beyond it (𠮷, U+20BB7) had none and fell out of the text. Each
glyph only such a character reaches also gets a code of the Private Use Area
(from U+E000, in the order of the characters); the PDF export finds that code
in the text layer and puts the character of the same glyph in its place.

usage: make_print_font.py SOURCE.ttc OUTPUT.otf Regular
       make_print_font.py SOURCE.ttc OUTPUT.otf Bold CHARACTERS.txt
"""
import sys
import unicodedata

from fontTools import subset
from fontTools.ttLib import TTCollection, TTFont, getTableClass

SOURCE_FAMILY = "Noto Sans CJK JP"
FAMILY = "Fenwir Print Sans"

# Blocks of the symbols, kana and forms Japanese documents use.
OFFICE_BLOCKS = [
    (0x0020, 0x007E),  # Basic Latin
    (0x00A0, 0x017F),  # Latin-1 Supplement, Latin Extended-A
    (0x2000, 0x206F),  # General Punctuation
    (0x20A0, 0x20CF),  # Currency Symbols
    (0x2100, 0x23FF),  # Letterlike Symbols, Number Forms, Arrows, Mathematical
                       # Operators, Miscellaneous Technical
    (0x2460, 0x27BF),  # Enclosed Alphanumerics, Box Drawing, Block Elements,
                       # Geometric Shapes, Miscellaneous Symbols, Dingbats
    (0x3000, 0x30FF),  # CJK Symbols and Punctuation, Hiragana, Katakana
    (0x31F0, 0x33FF),  # Katakana Phonetic Extensions, Enclosed CJK Letters
                       # and Months (㈱, ㋿), CJK Compatibility (㍻, ㌔)
    (0xFF00, 0xFFEF),  # Halfwidth and Fullwidth Forms
]
# Beyond the encodings: 𠮷 (tsuchi-yoshi), as in 𠮷野家 and many a name.
NAME_CHARACTERS = [0x20BB7]
# The encodings whose every character is kept: JIS X 0213 (Shift_JIS-2004
# reaches all four levels' planes) and code page 932 (JIS X 0208, the NEC
# row 13 and the NEC-selected and IBM extensions).
OFFICE_ENCODINGS = ["shift_jis_2004", "cp932"]
PRIVATE_USE_FIRST = 0xE000
PRIVATE_USE_LAST = 0xF8FF


def encoded_characters(encoding):
    """Every character a one- or two-byte code of a Shift_JIS-like encoding gives."""
    codes = [bytes([b]) for b in range(0x100)]
    codes += [bytes([lead, trail]) for lead in range(0x80, 0x100) for trail in range(0x40, 0x100)]
    found = set()
    for code in codes:
        try:
            found.update(ord(c) for c in code.decode(encoding))
        except UnicodeDecodeError:
            pass
    return found


def printable(code):
    """Not a control, nor a code the encodings give to user-defined characters."""
    return (unicodedata.category(chr(code)) != "Cc" and
            not PRIVATE_USE_FIRST <= code <= PRIVATE_USE_LAST)


def office_characters(source_map):
    characters = set()
    for encoding in OFFICE_ENCODINGS:
        characters |= encoded_characters(encoding)
    for first, last in OFFICE_BLOCKS:
        characters.update(range(first, last + 1))
    characters.update(NAME_CHARACTERS)
    return {code for code in characters if code in source_map and printable(code)}


def heading_characters(path, source_map):
    with open(path, encoding="utf-8") as file:
        characters = {ord(c) for c in file.read()}
    # Digits and Latin letters for amounts, page numbers and the like.
    characters.update(range(0x20, 0x7F))
    return {code for code in characters if code in source_map and printable(code)}


def face_index(path):
    collection = TTCollection(path, lazy=True)
    for index, font in enumerate(collection.fonts):
        if font["name"].getDebugName(1) == SOURCE_FAMILY:
            return index
    raise SystemExit(f"{path}: no face named {SOURCE_FAMILY}")


def cut(font, characters):
    """Keeps the glyphs of these characters, and nothing the unshaped print never reads."""
    cmap = font["cmap"]
    cmap.tables = [table for table in cmap.tables if table.format != 14]
    options = subset.Options()
    options.layout_features = []
    options.drop_tables += ["GSUB", "GPOS", "GDEF", "BASE"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.hinting = False
    options.desubroutinize = True
    options.recalc_bounds = False
    options.recalc_timestamp = False
    # A CID-keyed font has no accented composites (seac) whose parts the
    # subsetter would look for by running every glyph's program.
    cff = getTableClass("CFF ")
    closure, cff.closure_glyphs = cff.closure_glyphs, lambda self, s: None
    try:
        subsetter = subset.Subsetter(options)
        subsetter.populate(unicodes=sorted(characters))
        subsetter.subset(font)
    finally:
        cff.closure_glyphs = closure


# The character Japanese text uses, for a rarer one drawn with the same glyph.
PREFERRED = {
    0x02BB: 0x2018,  # ʻ -> ‘
    0x2003: 0x3000,  # em space -> ideographic space
    0x2012: 0x2013,  # figure dash -> en dash
    0x2027: 0x30FB,  # hyphenation point -> katakana middle dot
    0x2035: 0xFF40,  # reversed prime -> fullwidth grave accent
    0x2215: 0xFF0F,  # division slash -> fullwidth solidus
    0x301C: 0xFF5E,  # wave dash -> fullwidth tilde, as in 11月1日～11月30日
}


def is_radical(code):
    return 0x2E80 <= code <= 0x2EFF or 0x2F00 <= code <= 0x2FDF


def yields(code, others):
    """Whether code gives way to another character drawn with its glyph."""
    canonical = unicodedata.normalize("NFKC", chr(code))
    if len(canonical) == 1 and ord(canonical) != code and ord(canonical) in others:
        return True
    if PREFERRED.get(code) in others:
        return True
    return is_radical(code) and any(not is_radical(other) for other in others)


def drop_shared_entries(font):
    for table in font["cmap"].tables:
        if not table.isUnicode():
            continue
        cmap = table.cmap
        by_glyph = {}
        for code, glyph in cmap.items():
            by_glyph.setdefault(glyph, set()).add(code)
        for codes in by_glyph.values():
            if len(codes) > 1:
                for code in [c for c in codes if yields(c, codes - {c})]:
                    del cmap[code]


def add_private_use_aliases(font):
    """Gives every glyph reached only from beyond the BMP a Private Use code."""
    best = font.getBestCmap()
    by_glyph = {}
    for code, glyph in best.items():
        by_glyph.setdefault(glyph, set()).add(code)
    if any(PRIVATE_USE_FIRST <= code <= PRIVATE_USE_LAST for code in best):
        raise SystemExit("the source font maps Private Use codes already")
    beyond = sorted(code for code, glyph in best.items()
                    if code > 0xFFFF and all(c > 0xFFFF for c in by_glyph[glyph]))
    if len(beyond) > PRIVATE_USE_LAST - PRIVATE_USE_FIRST + 1:
        raise SystemExit("too many characters beyond the BMP for the Private Use Area")
    for table in font["cmap"].tables:
        if table.isUnicode() and table.format in (4, 12):
            for index, code in enumerate(beyond):
                table.cmap[PRIVATE_USE_FIRST + index] = best[code]


def rename(font, style):
    for record in font["name"].names:
        if record.nameID in (1, 16):
            record.string = FAMILY
        elif record.nameID in (2, 17):
            record.string = style
        elif record.nameID == 4:
            record.string = f"{FAMILY} {style}"
        elif record.nameID == 6:
            record.string = f"{FAMILY.replace(' ', '')}-{style}"


def main():
    if len(sys.argv) not in (4, 5):
        raise SystemExit(__doc__)
    source, output, style = sys.argv[1:4]
    # The font's own times and bounds are kept: the same source gives the
    # same file, and the glyphs measure as before.
    font = TTFont(source, fontNumber=face_index(source), lazy=True, recalcBBoxes=False,
                  recalcTimestamp=False)
    source_map = font.getBestCmap()
    if len(sys.argv) == 5:
        characters = heading_characters(sys.argv[4], source_map)
    else:
        characters = office_characters(source_map)
    cut(font, characters)
    drop_shared_entries(font)
    add_private_use_aliases(font)
    rename(font, style)
    font.save(output)


if __name__ == "__main__":
    main()
