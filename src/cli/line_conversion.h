#pragma once

#include "cli/conversion_warnings.h"
#include "cli/standard_streams.h"
#include "cli/utf8_decoder.h"
#include "conversion/code_output.h"
#include "conversion/slot_selection.h"
#include "firmware/code_formats.h"
#include "firmware/display_order.h"
#include "table/code_strings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <optional>
#include <vector>

namespace harfcode {

// What the converter writes for every input line.
struct LineOptions {
    bool slotNumbers = false;  // the slot of every character instead of codes
    DisplayOrder order = DisplayOrder::Typing;
    CodeFormat format = CodeFormat::Spaced;
    int width = 0;  // 0: the line is one row; N: rows of at most N glyphs
};

// Why a line was skipped: nothing of it was written.
struct SkippedLine {
    std::optional<InvalidCode> invalidCode;  // none: the line is not UTF-8
};

// Converts input lines to the converter's output with one set of options and one table.
//
// A line is taken in pieces of about `pieceBytes` of its UTF-8, so that a line of any length
// costs little more memory than its own bytes: a first pass over the pieces checks the whole
// line (UTF-8, and that every code in use is a byte where bytes are written) and tells its
// warnings, a second decodes the pieces again and writes them out one by one, in the order
// the display takes them. Selection goes on from piece to piece as over the whole line. In
// visual order a piece ends only where the order may be cut (VisualCutFinder): after a
// paragraph separator, or in an embedding that never ends, the rest is one piece. Rows
// (--width) are found from the line's pieces (RowBreaker), and each is then converted in
// pieces of its own.
class LineConverter {
public:
    static constexpr qsizetype kPieceBytes = qsizetype(1) << 20;

    LineConverter(const LineOptions& options, const CodeStrings& codes, ConversionWarnings& warnings,
                  qsizetype pieceBytes = kPieceBytes);

    // Writes the output of the UTF-8 `line`, input line `number`, to `output`: a line per row,
    // LF-ended, or for the byte format the bytes alone. Writes nothing when the line is not
    // UTF-8 or a code in use is not a byte, and says which.
    std::optional<SkippedLine> convert(QByteArrayView line, long number, OutputBuffer& output);

private:
    struct PieceEnd {
        qsizetype to;  // bytes of the text
        bool withinLeftToRightRun = false;  // in visual order: a run goes on into the next piece
        std::uint16_t heldOpenings = 0;     // in visual order: VisualCut's, for the next piece
    };
    struct Piece {
        qsizetype from;  // bytes of the text (the line, or one of its rows)
        PieceEnd end;
        SelectionState state;  // where selection stands at the piece's start
        std::optional<QChar> following;  // the first unit after it that joins
    };

    // Checks the whole line and tells its warnings; plans its pieces when it is one row.
    // Nothing is skipped when it gives nothing.
    std::optional<SkippedLine> survey(QByteArrayView line, long number);
    // Cuts `text` (the line, or one of its rows) into pieces in m_pieces, calling `pieceDone`
    // with each while its text and slots are in m_text and m_slots; false if it is not UTF-8.
    template <typename PieceDone>
    bool planPieces(QByteArrayView text, PieceDone pieceDone);
    // Where the plain piece that starts at `from` ends, its text decoded into m_text; none
    // when it is not UTF-8.
    std::optional<PieceEnd> decodePiece(QByteArrayView text, qsizetype from);
    // Calls `rowDone` with every row of the (valid) line; stops when it gives false, and says
    // whether it did.
    template <typename RowDone>
    bool forEachRow(QByteArrayView line, RowDone rowDone);
    // Writes the planned pieces of `text` as one row.
    void writePieces(QByteArrayView text, OutputBuffer& output);
    void writeVisualPieces(QByteArrayView text, OutputBuffer& output);
    // Decodes a planned piece of `text` into m_text and selects its slots into m_slots.
    void selectPiece(QByteArrayView text, qsizetype index);
    bool decode(QByteArrayView bytes);

    LineOptions m_options;
    const CodeStrings& m_codes;
    Utf8SlotCodes m_slotCodes;
    ConversionWarnings& m_warnings;
    qsizetype m_pieceBytes;

    Utf8Decoder m_decoder;
    QStringView m_text;          // the piece decoded last
    std::vector<Slot> m_slots;   // its slots in typing order
    std::vector<Piece> m_pieces;
    qsizetype m_selectedPiece = -1;  // the piece in m_text and m_slots, if any
};

}  // namespace harfcode
