#!/usr/bin/python3
"""Writes the font the claim is printed with: Noto Sans CJK JP, renamed, with
the character-map entries removed that would give a PDF's text layer the
wrong characters.

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

usage: make_print_font.py SOURCE.ttc OUTPUT.otf STYLE
"""
import sys
import unicodedata

from fontTools.ttLib import TTCollection, TTFont

SOURCE_FAMILY = "Noto Sans CJK JP"
FAMILY = "Fenwir Print Sans"


def face_index(path):
    collection = TTCollection(path, lazy=True)
    for index, font in enumerate(collection.fonts):
        if font["name"].getDebugName(1) == SOURCE_FAMILY:
            return index
    raise SystemExit(f"{path}: no face named {SOURCE_FAMILY}")


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


PRIVATE_USE_FIRST = 0xE000
PRIVATE_USE_LAST = 0xF8FF


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
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    source, output, style = sys.argv[1:]
    # Lazy: only the character map and the names are decoded and written anew.
    font = TTFont(source, fontNumber=face_index(source), lazy=True)
    drop_shared_entries(font)
    add_private_use_aliases(font)
    rename(font, style)
    font.save(output)


if __name__ == "__main__":
    main()
