#pragma once

#include "table/slot_catalogue.h"

#include <QList>
#include <QString>

#include <array>

namespace harfcode {

// The glyph code table in memory: the code string of slot k at index k - 1.
using CodeStrings = std::array<QString, kSlotCount>;

// A code is the first two UTF-16 units of its line.
inline constexpr qsizetype kCodeLength = 2;

// The code of a slot not filled in yet, as the first start writes it.
inline constexpr char kUnfilledCode[] = "00";
// It as messages quote it: "00", in quotes.
QString quotedUnfilledCode();

// Every slot "00": the table written on a first start.
CodeStrings defaultCodeStrings();
// Whether every code is still the first start's "00": nothing filled in yet.
bool isUnfilled(const CodeStrings& codes);

// Puts codes[n - 1] into slot n for every n the list reaches (at most kSlotCount);
// the slots beyond keep what they held.
void overlayCodes(CodeStrings& table, const QList<QString>& codes);

}  // namespace harfcode
