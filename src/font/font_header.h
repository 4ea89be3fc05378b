#pragma once

#include "c_source/c_bytes.h"
#include "c_source/c_header.h"
#include "font/display_font.h"
#include "font/font_export_source.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace harfcode {

// What the C headers of the display's font share: the names from --name, their frame and the
// opening of their comment.

// The prefixes without --name: each format its own, so that one file can include both headers.
inline constexpr char kDefaultCFontName[] = "harfcode_font";
inline constexpr char kDefaultGfxFontName[] = "harfcode_gfx_font";

// A macro of the header named by `prefix`: PREFIX_SUFFIX upper-cased (HARFCODE_FONT_HEIGHT).
QByteArray fontMacro(const QString& prefix, const char* suffix);

// The frame of the header named by `prefix`: its guards (HARFCODE_FONT_H) and the macro that the
// one file holding the arrays defines (HARFCODE_FONT_IMPLEMENTATION); the comment, declarations
// and definitions are the format's.
CHeaderParts fontHeaderFrame(const QString& prefix, bool progmem);

// The macros of the font's lines that both headers define, "\n#define PREFIX_HEIGHT 15\n...":
// PREFIX_HEIGHT, the rows of a line (from one line's top row to the next's); PREFIX_BASELINE, the
// rows above the baseline; PREFIX_LEFT, the most columns that any glyph the header holds draws
// left of its pen, where a line's pen starts so that none of its ink is cut at the left edge.
QByteArray fontLineMacros(const DisplayFont& font, const QString& prefix);
QStringList fontLineMacroNames(const QString& prefix);

// Why `prefix` cannot name a header that defines `names` in its frame: the prefix or one of the
// names breaks a rule of the strings header's names. None where it can.
std::optional<QString> fontNameProblem(const QString& prefix, const QStringList& names);

// The first lines of a header's comment, unclosed: what it holds (`title`), the program, the
// command, the font file with its family and size, and the font's copyright notice.
QByteArray fontHeaderSourceLines(const char* title, const FontExportSource& source);

// "41 slot 74 (U+0041 "A")": a glyph as the header's comments name it.
QByteArray glyphComment(const DisplayGlyph& glyph);

// The bytes of one glyph's bitmap.
struct GlyphBits {
    const DisplayGlyph* glyph;
    QByteArray bytes;
};

// The elements of an array of bitmaps: each glyph's bytes after a comment that names it, the
// glyphs without bytes left out. A C array cannot be empty: where no glyph has a byte, one 0x00.
struct BitmapElements {
    QByteArray lines;
    qsizetype count = 0;
};
BitmapElements bitmapElements(const std::vector<GlyphBits>& bitmaps);

}  // namespace harfcode
