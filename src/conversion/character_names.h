#pragma once

#include <QString>

namespace harfcode {

// "064E": a character's number in at least four upper-case hexadecimal digits, as Unicode
// writes it.
QString codePointDigits(char32_t character);
// "U+064E": a character as Unicode names it, for messages and comments that must not show
// it as it is.
QString codePointName(char32_t character);

// Whether `character` acts on the text around it without being seen: a control character, a
// line or paragraph separator, or a direction control. Shown raw, such a character ends a
// line, drives a terminal or reorders what a reader sees.
bool isUnseenControl(char32_t character);

// `text` with every such character spelt out, as \x1B for ASCII's and as U+202E for the others.
QString withControlsSpelledOut(QStringView text);

}  // namespace harfcode
