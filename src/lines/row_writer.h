#pragma once

#include "conversion/code_output.h"
#include "lines/conversion_warnings.h"
#include "lines/line_options.h"
#include "table/code_strings.h"

#include <QByteArray>

#include <vector>

namespace harfcode {

// One row's output, written from the slots of its pieces as from all its slots at once: the
// code strings, bytes, C elements, glyphs or slot numbers of its format, then the line end.
class RowWriter {
public:
    RowWriter(const LineOptions& options, const CodeStrings& codes, const Utf8SlotCodes& slotCodes,
              ConversionWarnings& warnings);

    void begin(QByteArray& out);
    // `slots` come in the row's order; their codes are known to be bytes where bytes are written.
    void append(const std::vector<Slot>& slots, QByteArray& out);
    void end(QByteArray& out);

private:
    void appendSpaced(const std::vector<Slot>& slots, QByteArray& out);

    const LineOptions& m_options;
    const CodeStrings& m_codes;
    const Utf8SlotCodes& m_slotCodes;
    ConversionWarnings& m_warnings;
    bool m_started = false;  // a code, element or number of the row is written
    qsizetype m_heldBlanks = 0;
};

}  // namespace harfcode
