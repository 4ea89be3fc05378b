#pragma once

#include "font/display_font.h"
#include "font/font_face.h"
#include "table/code_strings.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <variant>

namespace harfcode::testing {

// What FontFace::open() or fromBytes() opened; null, and a failure of the test, where it failed.
inline std::unique_ptr<FontFace> openedFont(std::variant<std::unique_ptr<FontFace>, QString> opened)
{
    if (const QString* reason = std::get_if<QString>(&opened)) {
        ADD_FAILURE() << reason->toStdString();
        return nullptr;
    }
    return std::get<std::unique_ptr<FontFace>>(std::move(opened));
}

// The display's font from `face`; none, and a failure of the test, where there is none.
inline std::optional<DisplayFont> renderedFont(const FontFace* face, const CodeStrings& codes, Hinting hinting)
{
    if (!face)
        return std::nullopt;
    auto made = displayFont(*face, codes, hinting);
    if (const auto* error = std::get_if<DisplayFontError>(&made)) {
        ADD_FAILURE() << error->descriptions({}).join(u'\n').toStdString();
        return std::nullopt;
    }
    return std::get<DisplayFont>(std::move(made));
}

inline std::optional<DisplayFont> renderedFont(const QString& file, int size, const CodeStrings& codes, Hinting hinting)
{
    return renderedFont(openedFont(FontFace::open(file, size)).get(), codes, hinting);
}

}  // namespace harfcode::testing
