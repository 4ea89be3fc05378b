#pragma once

#include "layout/display_order.h"

#include <utility>

namespace harfcode {

// How the converter writes the glyphs of one row.
enum class CodeFormat {
    Spaced,       // the code strings joined by two blanks, as the windows show them
    CArray,       // 0xE1, 0x6B, 0x61
    CString,      // "\xE1\x6B\x61"
    Bytes,        // the raw bytes
    Glyphs,       // the glyph of every slot: a preview of the display, no codes
    SlotNumbers,  // the slot of every character, "-" for none: no codes
};

// The formats by the names that the converter's --format gives them; slot numbers have an
// option of their own.
inline constexpr std::pair<CodeFormat, const char*> kCodeFormatNames[] = {
    {CodeFormat::Spaced, "spaced"}, {CodeFormat::CArray, "c-array"}, {CodeFormat::CString, "c-string"},
    {CodeFormat::Bytes, "bytes"},   {CodeFormat::Glyphs, "glyphs"},
};

// Whether `format` writes every code as the byte it stands for, so that each code in use must
// be two hexadecimal digits.
constexpr bool writesBytes(CodeFormat format)
{
    return format == CodeFormat::CArray || format == CodeFormat::CString || format == CodeFormat::Bytes;
}

// Whether `format` writes the table's codes at all.
constexpr bool writesCodes(CodeFormat format)
{
    return format != CodeFormat::Glyphs && format != CodeFormat::SlotNumbers;
}

// What the converter writes for every input line.
struct LineOptions {
    DisplayOrder order = DisplayOrder::Typing;
    CodeFormat format = CodeFormat::Spaced;
    int width = 0;  // 0: the line is one row; N: rows of at most N glyphs
};

}  // namespace harfcode
