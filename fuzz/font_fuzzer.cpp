// Takes a pixel size (1 to 64), the hinting and a row width from the first three bytes, the codes
// of the 103 slots from the next 103 (0 leaves a slot "00"), and the rest as a font file, which
// anybody may have broken; renders the display's font from it and exports it in every format:
// BDF, the glyph sheet and a sample as PNG. Whatever the font, the result is a font or a reason
// why there is none, and aborts on anything else.
#include "font/bdf_format.h"
#include "font/display_font.h"
#include "font/font_face.h"
#include "font/font_pictures.h"
#include "font/hex_digit_glyphs.h"
#include "font/png_format.h"

#include "invariant.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace harfcode;
using harfcode::fuzz::require;

constexpr std::size_t kSettingsBytes = 3;
constexpr std::size_t kHeaderBytes = kSettingsBytes + kSlotCount;

void checkFont(const DisplayFont& font)
{
    require(font.height >= 0, "a font of negative height");
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        const DisplayGlyph& glyph = font.glyphs[i];
        require(i == 0 || font.glyphs[i - 1].code < glyph.code, "glyphs not by code, or two at one code");
        require(font.glyphAt(glyph.code) == &glyph, "a glyph not found at its code");
        const RenderedGlyph& bitmap = glyph.bitmap;
        require(bitmap.width >= 0 && bitmap.rows >= 0, "a bitmap of negative size");
        require(bitmap.ink.size() == std::size_t(bitmap.width) * std::size_t(bitmap.rows), "ink of the wrong size");
        require(bitmap.rows == 0 || (font.baseline - bitmap.top >= 0
                                     && font.baseline - bitmap.top + bitmap.rows <= font.height),
                "a glyph beyond the font's rows");
    }
}

void checkPicture(const std::variant<QImage, QString>& picture, const FontExportSource& source)
{
    if (const QString* reason = std::get_if<QString>(&picture)) {
        require(!reason->isEmpty(), "a picture refused without a reason");
        return;
    }
    const QImage& image = std::get<QImage>(picture);
    require(!image.isNull() && image.format() == QImage::Format_Grayscale8, "a picture that is none");
    const auto png = pngFile(image, source);
    require(std::holds_alternative<QByteArray>(png) && std::get<QByteArray>(png).startsWith("\x89PNG"),
            "a picture without its PNG file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeaderBytes)
        return 0;
    const int pixelSize = 1 + data[0] % 64;
    const Hinting hinting = Hinting(data[1] % 3);
    const int width = data[2] % 16;  // 0: one row
    CodeStrings codes;
    QByteArray sampleCodes;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::uint8_t code = data[kSettingsBytes + std::size_t(slot)];
        codes[std::size_t(slot)] = QString::asprintf("%02X", code);
        sampleCodes += char(code);
    }
    const QByteArray fontFile(reinterpret_cast<const char*>(data + kHeaderBytes), qsizetype(size - kHeaderBytes));

    auto opened = FontFace::fromBytes(fontFile, pixelSize);
    if (const QString* reason = std::get_if<QString>(&opened)) {
        require(!reason->isEmpty(), "a font refused without a reason");
        return 0;
    }
    const FontFace& face = *std::get<std::unique_ptr<FontFace>>(opened);
    const auto rendered = displayFont(face, codes, hinting);
    if (const auto* error = std::get_if<DisplayFontError>(&rendered)) {
        require(!error->descriptions({}).isEmpty(), "a display font refused without a reason");
        return 0;
    }
    const DisplayFont& font = std::get<DisplayFont>(rendered);
    checkFont(font);

    const FontExportSource source{"harfcode-fuzz", "harfcode-fuzz", "font", face.family(), face.copyright(),
                                  face.pixelSize()};
    require(bdfFont(font, source).endsWith("ENDFONT\n"), "a BDF font cut short");
    checkPicture(glyphSheet(font, hexDigitGlyphs(face, hinting), 1), source);
    std::vector<QByteArray> rows;
    for (qsizetype start = 0; start < sampleCodes.size(); start += width == 0 ? sampleCodes.size() : width)
        rows.push_back(sampleCodes.mid(start, width == 0 ? -1 : width));
    checkPicture(sampleText(font, rows, 1), source);
    return 0;
}
