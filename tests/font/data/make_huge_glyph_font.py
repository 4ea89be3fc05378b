#!/usr/bin/python3
# Writes huge_glyph.ttf: a TrueType font whose "A" reaches 30 em across and up, so that even a
# small size renders it far beyond any display's glyph. Needs Debian's python3-fonttools; the
# font it made is kept beside it, so the tests need neither.
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen


def square(size):
    pen = TTGlyphPen(None)
    pen.moveTo((0, 0))
    pen.lineTo((0, size))
    pen.lineTo((size, size))
    pen.lineTo((size, 0))
    pen.closePath()
    return pen.glyph()


builder = FontBuilder(1000, isTTF=True)
builder.setupGlyphOrder([".notdef", "A"])
builder.setupCharacterMap({0x41: "A"})
builder.setupGlyf({".notdef": square(500), "A": square(30000)})
builder.setupHorizontalMetrics({".notdef": (600, 0), "A": (30000, 0)})
builder.setupHorizontalHeader(ascent=800, descent=-200)
builder.setupNameTable({"familyName": "Huge Glyph", "styleName": "Regular"})
builder.setupOS2(sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200)
builder.setupPost()
builder.save(sys.argv[1] if len(sys.argv) > 1 else "huge_glyph.ttf")
