#pragma once

#include "table/code_strings.h"

#include <QString>
#include <QStringView>

#include <array>
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

// The code string of every slot, looked up as often as a text has characters; kNoSlot's is
// empty. Views into the table it is made from, which must outlive it.
class SlotCodes {
public:
    explicit SlotCodes(const CodeStrings& codes);
    QStringView operator[](Slot slot) const { return m_codes[slot]; }

private:
    std::array<QStringView, kSlotCount + 1> m_codes;
};

// The code strings of `slots` joined by two blanks as above, in the order given; kNoSlot adds
// an empty code. Reuses the memory `joined` already holds.
void joinCodes(const std::vector<Slot>& slots, const SlotCodes& codes, QString& joined);

}  // namespace harfcode
