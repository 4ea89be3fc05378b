#pragma once

#include "font/font_face.h"
#include "table/code_strings.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace harfcode {

// Where the face used of a font collection lacks glyphs of the table: "holds 3 faces; face 0
// (Noto Sans) was used; faces 1, 2 have every glyph" (or "no other face has every glyph"),
// from `fontBytes`, the collection's file. None for a file of one face.
std::optional<QString> collectionFacesNote(const QByteArray& fontBytes, const FontFace& used, const CodeStrings& codes,
                                           Hinting hinting);

}  // namespace harfcode
