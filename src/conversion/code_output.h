#pragma once

#include "table/code_strings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace harfcode {

// The three strings a conversion shows.
struct ConversionOutput {
    QString lengthCaption;  // "Length : " and the number of UTF-16 units
    QString reverseOrder;   // codes from the last character to the first ("Persian Hex")
    QString typingOrder;    // codes in typing order ("English Hex")
};

QString lengthCaption(qsizetype length);

// Replaces every character's slot by its code string and joins the codes by two blanks in
// both orders, without outer blanks. A character without a slot adds an empty code.
// Reuses the memory `output` already holds, as a live conversion runs at every keystroke.
void convertText(QStringView text, const CodeStrings& codes, ConversionOutput& output);
ConversionOutput convertText(QStringView text, const CodeStrings& codes);

// The code string of every slot in UTF-8, for output that goes out as bytes; kNoSlot's is
// empty.
class Utf8SlotCodes {
public:
    explicit Utf8SlotCodes(const CodeStrings& codes);
    QByteArrayView operator[](Slot slot) const { return m_codes[slot]; }

private:
    std::array<QByteArray, kSlotCount + 1> m_codes;
};

// Appends to `out` two blanks and the code string of each of `slots`, in the order given, as
// convertText() joins them before it drops the outer blanks; kNoSlot adds an empty code.
void appendSeparatedCodes(const std::vector<Slot>& slots, const Utf8SlotCodes& codes, QByteArray& out);

// "slot 26 (U+FEB3 "ﺳ")", "slot 1 (the blank)": a slot for messages and comments.
QString slotName(Slot slot);

// "5, 6 and 7": the numbers of two or more slots, as a sentence lists them.
QString slotNumbers(const std::vector<Slot>& slots);

// The byte a code string stands for when it is exactly two hexadecimal digits (either case).
std::optional<std::uint8_t> codeByte(QStringView code);

// A slot in use whose code string is not a byte.
struct InvalidCode {
    Slot slot;
    QString code;

    // e.g. slot 5 (U+FE91 "ﺑ") has the code "G1", which is not two hexadecimal digits
    QString description() const;
};

// How a table's codes are used: those that are not bytes, the slots still "00", and the slots
// of every other byte, in ascending order.
struct CodeUsage {
    std::vector<InvalidCode> invalidCodes;
    int unfilledSlots = 0;
    std::map<std::uint8_t, std::vector<Slot>> slotsOfCode;
};
CodeUsage codeUsage(const CodeStrings& codes);

struct CodeBytes {
    QByteArray bytes;                     // empty when `invalid` is set
    std::optional<InvalidCode> invalid;   // the first slot whose code is not a byte
};

// The byte of every slot in `slots`, in their order; kNoSlot adds nothing.
CodeBytes codeBytesOf(const std::vector<Slot>& slots, const CodeStrings& codes);

// The glyph of every slot (a blank for slot 1), with nothing between them; kNoSlot adds nothing:
// a preview of the display.
QString glyphsOf(const std::vector<Slot>& slots);

}  // namespace harfcode
