#pragma once

#include "c_source/c_bytes.h"
#include "conversion/code_output.h"
#include "conversion/slot_selection.h"
#include "lines/conversion_warnings.h"
#include "lines/line_options.h"
#include "lines/line_output.h"
#include "lines/utf8_decoder.h"
#include "table/code_strings.h"

#include <QByteArrayView>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace harfcode {

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
    std::optional<SkippedLine> convert(QByteArrayView line, long number, LineOutput& output);

private:
    struct Piece {
        qsizetype from;  // bytes of the text (the line, or one of its rows)
        qsizetype to;
        SelectionState state;            // where selection stands at the piece's start
        std::optional<QChar> following;  // the first unit after it that joins
        // In visual order, of the cut at its end: a left-to-right run goes on into the next
        // piece, and the brackets ICU holds there (VisualCut's).
        bool runGoesOnAfter = false;
        std::uint16_t heldOpenings = 0;
    };
    // A planned piece decoded and selected, kept until another is selected or the pieces are
    // planned anew.
    struct SelectedPiece {
        qsizetype index = -1;
        QStringView text;
        std::vector<Slot> slots;  // in typing order
        SelectionState after;     // where selection stands at its end
    };

    // Checks the whole line and tells its warnings; plans its pieces when it is one row.
    // Nothing is skipped when it gives nothing.
    std::optional<SkippedLine> survey(QByteArrayView line, long number);
    // Cuts `text` (the line, or one of its rows) into pieces, calling `pieceDone` with each
    // piece and its selection; false if it is not UTF-8.
    template <typename PieceDone>
    bool planPieces(QByteArrayView text, PieceDone pieceDone);
    // Calls `rowDone` with every row of the (valid) line; stops when it gives false, and says
    // whether it did.
    template <typename RowDone>
    bool forEachRow(QByteArrayView line, RowDone rowDone);
    // Writes the planned pieces of `text` as one row.
    void writePieces(QByteArrayView text, LineOutput& output);
    void writeVisualPieces(QByteArrayView text, LineOutput& output);
    // Planned piece `index` of `text`; none when it is not UTF-8.
    const SelectedPiece* select(QByteArrayView text, qsizetype index);
    // Where the plain piece of `text` that starts at `from` ends: `m_pieceBytes` on, or the
    // few more bytes that finish the character there.
    qsizetype plainPieceEnd(QByteArrayView text, qsizetype from) const;

    LineOptions m_options;
    const CodeStrings& m_codes;
    Utf8SlotCodes m_slotCodes;
    ConversionWarnings& m_warnings;
    qsizetype m_pieceBytes;

    Utf8Decoder m_decoder;  // for the passes that only look
    std::vector<Piece> m_pieces;
    Utf8Decoder m_pieceDecoder;  // for the selected piece alone
    SelectedPiece m_selected;
    std::vector<Slot> m_reversed;
    std::vector<PiecePart> m_heldParts;     // in visual order, for joinVisualPiece()
    std::vector<PiecePart> m_partsToWrite;
};

}  // namespace harfcode
