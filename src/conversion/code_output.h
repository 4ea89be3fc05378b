#pragma once

#include "table/code_strings.h"

#include <QString>
#include <QStringView>

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

}  // namespace harfcode
