#pragma once

#include "firmware/strings_file.h"
#include "layout/entry_rows.h"
#include "table/code_strings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace harfcode {

// The include guard of a header and the guard of its definitions, from the header's file
// name ("strings.h" and "strings.txt" give HARFCODE_STRINGS_H, "menu.h" HARFCODE_STRINGS_MENU_H),
// so that two strings headers can be included together, and beside the font headers and any
// other header of the program's (a strings header written to "font.h" is not HARFCODE_FONT_H).
struct HeaderGuards {
    QString declarations;
    QString definitions;
};
HeaderGuards headerGuards(QStringView fileName);

// Every macro the header defines besides the entries' own, which no entry may take.
QStringList headerMacros(const HeaderGuards& guards);

struct HeaderEntry {
    StringsEntry entry;
    std::vector<QByteArray> rows;  // from entryCodes() or pixelEntryCodes()
    std::vector<qint64> penStarts;  // rows in pixels
};

// Rows at most `width` pixels wide, measured in a display's font: the codes of every entry one
// after another, with where each row starts among them and where its pen starts on the display.
struct PixelRowSettings {
    int width = 0;
    GlyphMeasure measure;
    QString font;  // the font file, its size and hinting, for the header's comment
};

// An entry holds at most this many codes in rows of pixels, as its rows' starts are 16 bits.
inline constexpr qsizetype kMaxPixelRowsEntryCodes = 65535;

struct HeaderSettings {
    QString program;      // name and version
    QString commandLine;
    QString tablePath;
    HeaderGuards guards;
    DisplayOrder order = DisplayOrder::Visual;
    int width = 0;        // 0: one array per entry, unless in pixels; N: rows of N codes
    bool progmem = false;
    std::optional<PixelRowSettings> pixelRows;
};

// The text of the header: valid C99 and C++11; each array declared in every file that
// includes it and defined only where HARFCODE_STRINGS_IMPLEMENTATION is defined.
QByteArray stringsHeader(const std::vector<HeaderEntry>& entries, const HeaderSettings& settings);

// The header of the strings file `bytes`, or every error in it, by line: those of
// parseStringsFile(), every entry whose codes are not bytes, and in rows of pixels every entry
// with a glyph wider than a row or more codes than kMaxPixelRowsEntryCodes. `entryRead` hears every
// entry, in file order.
std::variant<QByteArray, std::vector<StringsFileError>> stringsHeaderOf(
    QByteArrayView bytes, const CodeStrings& codes, const HeaderSettings& settings,
    const std::function<void(const StringsEntry&)>& entryRead);

}  // namespace harfcode
