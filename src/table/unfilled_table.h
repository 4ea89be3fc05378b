#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace harfcode {

// Why a file of these lines (readTableLines()) is not an unfilled table, which a new table may
// replace without losing anything: "has codes filled in already (slot 5 has "B3")", or "is not
// an unfilled table: line 4 is "…"" or "…: it ends after line 50". An unfilled table is the
// first start's file, line for line, followed by empty lines at most; a file without lines is
// one too.
std::optional<QString> whyNotAnUnfilledTable(const QStringList& lines);

}  // namespace harfcode
