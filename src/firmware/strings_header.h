#pragma once

#include "firmware/code_formats.h"
#include "firmware/display_order.h"
#include "firmware/strings_file.h"
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
// name ("strings.h" and "strings.txt" give HARFCODE_STRINGS_H), so that two headers can be included
// together.
struct HeaderGuards {
    QString declarations;
    QString definitions;
};
HeaderGuards headerGuards(QStringView fileName);

// Every macro the header defines besides the entries' own, which no entry may take.
QStringList headerMacros(const HeaderGuards& guards);

// The codes of one entry's text: one row, or with a width the rows of breakIntoRows(), each
// put in `order` on its own and padded to the width with the blank's code (slot 1), after
// the codes in typing order and before them otherwise, so that the text stands right-aligned.
struct EntryCodes {
    std::vector<QByteArray> rows;        // empty when `invalid` is set
    std::optional<InvalidCode> invalid;  // the first code the entry needs that is not a byte
};
EntryCodes entryCodes(QStringView text, const CodeStrings& codes, DisplayOrder order, int width);

// The slots whose codes entryCodes() gives, row by row: the characters without a slot left out,
// the padding the blank's slot.
struct EntryRow {
    std::vector<Slot> slots;
    std::size_t padding = 0;  // the blanks that pad the row: its last slots in typing order, its first otherwise
};
std::vector<EntryRow> entrySlots(QStringView text, DisplayOrder order, int width);

// `text` as it can stand inside a C comment: no "*/" to end it, no "/*" that -Wcomment flags,
// no trigraph, no control character or direction override; each of those is spelt out.
QString commentText(QStringView text);

struct HeaderEntry {
    StringsEntry entry;
    std::vector<QByteArray> rows;  // from entryCodes()
};

struct HeaderSettings {
    QString program;      // name and version
    QString commandLine;
    QString tablePath;
    HeaderGuards guards;
    DisplayOrder order = DisplayOrder::Visual;
    int width = 0;        // 0: one array per entry
    bool progmem = false;
};

// The text of the header: valid C99 and C++11; each array declared in every file that
// includes it and defined only where HARFCODE_STRINGS_IMPLEMENTATION is defined.
QByteArray stringsHeader(const std::vector<HeaderEntry>& entries, const HeaderSettings& settings);

// The header of the strings file `bytes`, or every error in it, by line: those of
// parseStringsFile() and every entry whose codes are not bytes. `entryRead` hears every
// entry, in file order.
std::variant<QByteArray, std::vector<StringsFileError>> stringsHeaderOf(
    QByteArrayView bytes, const CodeStrings& codes, const HeaderSettings& settings,
    const std::function<void(const StringsEntry&)>& entryRead);

}  // namespace harfcode
