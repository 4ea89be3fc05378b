#pragma once

#include "table/code_strings.h"

#include <QString>
#include <QStringView>

namespace harfcode {

enum class CliOutput {
    TypingOrder,   // the codes as "English Hex" shows them
    ReverseOrder,  // the codes as "Persian Hex" shows them
    Slots,         // the slot number of every position, "-" where there is none
};

// One output line of the converter for one input line; `codes` is unused for Slots.
QString convertLine(QStringView text, CliOutput output, const CodeStrings& codes);

}  // namespace harfcode
