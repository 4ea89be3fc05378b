#include "font/font_export.h"

#include "font/bdf_format.h"
#include "font/font_pictures.h"
#include "font/gfx_font_format.h"
#include "font/glyph_measure.h"
#include "font/png_format.h"
#include "layout/entry_rows.h"

namespace harfcode {
namespace {

std::variant<QByteArray, FontExportFailure> headerBytes(std::variant<QByteArray, FieldOverflow> made)
{
    if (const auto* overflow = std::get_if<FieldOverflow>(&made))
        return FontExportFailure{FontExportFailure::Kind::FieldOverflow, overflow->description()};
    return std::get<QByteArray>(std::move(made));
}

// The prefix of a header's names where none is given.
QString defaultFontName(FontFormat format)
{
    return QLatin1StringView(format == FontFormat::Gfx ? kDefaultGfxFontName : kDefaultCFontName);
}

}  // namespace

ExportedFont exportedFont(const FontExportSettings& settings, const FontFace& face, const DisplayFont& font,
                          const FontExportSource& source, const CodeStrings& codes)
{
    const QString prefix = settings.name.value_or(defaultFontName(settings.format));
    switch (settings.format) {
    case FontFormat::Bdf:
        return {bdfFont(font, source), {}};
    case FontFormat::C:
        return {headerBytes(cFont(font, source, prefix, settings.header)), {}};
    case FontFormat::Gfx:
        return {headerBytes(gfxFont(font, source, prefix)), {}};
    case FontFormat::Png:
        break;
    }
    ExportedFont exported;
    std::variant<QImage, QString> picture;
    if (const std::optional<SampleRequest>& sample = settings.sample) {
        // displayFont() has found every code a byte: the rows are whole.
        if (sample->width.pixels) {
            const EntryCodes rows = pixelEntryCodes(sample->text, codes, sample->order, sample->width.count,
                                                    glyphMeasure(font, codes));
            if (rows.tooWide) {
                exported.bytes = FontExportFailure{FontExportFailure::Kind::TooWide,
                                                   tooWideDescription(*rows.tooWide, sample->width.count)};
                return exported;
            }
            const GlyphRows glyphs = glyphRows(font, rows.rows);
            picture = sampleText(font, glyphs, placedLayout(glyphs, sample->width.count, rows.penStarts), settings.zoom);
        } else {
            picture = sampleText(font, entryCodes(sample->text, codes, sample->order, sample->width.count).rows,
                                 settings.zoom);
        }
    } else {
        const HexDigitGlyphs labels = hexDigitGlyphs(face, settings.hinting);
        exported.missingLabelDigits = labels.missing;
        picture = glyphSheet(font, labels, settings.zoom);
    }
    if (const QString* reason = std::get_if<QString>(&picture)) {
        exported.bytes = FontExportFailure{FontExportFailure::Kind::Picture, *reason};
        return exported;
    }
    std::variant<QByteArray, QString> png = pngFile(std::get<QImage>(std::move(picture)), source);
    if (const QString* reason = std::get_if<QString>(&png))
        exported.bytes = FontExportFailure{FontExportFailure::Kind::Picture, *reason};
    else
        exported.bytes = std::get<QByteArray>(std::move(png));
    return exported;
}

}  // namespace harfcode
