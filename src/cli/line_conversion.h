#pragma once

#include "cli/conversion_warnings.h"
#include "conversion/code_output.h"
#include "firmware/code_formats.h"
#include "firmware/display_order.h"
#include "table/code_strings.h"

#include <QByteArray>
#include <QStringView>

#include <optional>

namespace harfcode {

// What the converter writes for every input line.
struct LineOptions {
    bool slotNumbers = false;  // the slot of every character instead of codes
    DisplayOrder order = DisplayOrder::Typing;
    CodeFormat format = CodeFormat::Spaced;
    int width = 0;  // 0: the line is one row; N: rows of at most N glyphs
};

// Converts input lines to the converter's output with one set of options and one table.
class LineConverter {
public:
    LineConverter(const LineOptions& options, const CodeStrings& codes, ConversionWarnings& warnings);

    // Appends the output of `text`, input line `line`: a line per row, LF-ended, or for the byte
    // format the bytes alone. When a code in use is not a byte, appends nothing and says which.
    std::optional<InvalidCode> convert(QStringView text, long line, QByteArray& out);

private:
    // Appends one row's output; appends nothing for an invalid code.
    std::optional<InvalidCode> appendRow(const std::vector<Slot>& slots, QByteArray& out);

    LineOptions m_options;
    const CodeStrings& m_codes;
    Utf8SlotCodes m_slotCodes;
    ConversionWarnings& m_warnings;
};

}  // namespace harfcode
