#include "font/export_warnings.h"

#include "conversion/code_output.h"
#include "font/gfx_font_format.h"
#include "table/code_strings.h"

namespace harfcode {
namespace {

// u8g2's bdfconv with its usual map (-m '32-255', or its default) leaves out the glyphs below.
constexpr std::uint8_t kBdfconvFirstCode = 0x20;

// "the glyph of slot 9 (U+FE97 "ﺗ") at code 0A"
QString glyphAtCode(const DisplayGlyph& glyph)
{
    return QStringLiteral("the glyph of %1 at code %2").arg(slotName(glyph.slot), QString::fromLatin1(hexCode(glyph.code)));
}

}  // namespace

QStringList exportWarnings(const DisplayFont& font, FontFormat format, int pixelSize, const ExportedFont& exported)
{
    QStringList warnings;
    if (font.unfilledSlots == 1)
        warnings.append(QStringLiteral("1 slot still has the code %1; its glyph is left out").arg(quotedUnfilledCode()));
    else if (font.unfilledSlots > 1)
        warnings.append(QStringLiteral("%1 slots still have the code %2; their glyphs are left out")
                            .arg(font.unfilledSlots)
                            .arg(quotedUnfilledCode()));
    for (const SharedCode& shared : font.sharedCodes)
        warnings.append(shared.description());
    if (!font.inklessSlots.empty()) {
        QStringList slots;
        for (const Slot slot : font.inklessSlots)
            slots.append(slotName(slot));
        warnings.append(QStringLiteral("at %1 px with this hinting the glyphs of %2 have no ink; they are drawn empty")
                            .arg(pixelSize)
                            .arg(slots.join(QStringLiteral(", "))));
    }
    if (format == FontFormat::Gfx)
        for (const std::uint8_t code : kGfxLineEndCodes)
            if (const DisplayGlyph* glyph = font.glyphAt(code))
                warnings.append(QStringLiteral("Adafruit_GFX::write() takes code 0A as a line end and skips 0D: %1 is "
                                               "never drawn")
                                    .arg(glyphAtCode(*glyph)));
    if (format == FontFormat::Bdf) {
        QStringList lowGlyphs;
        for (const DisplayGlyph& glyph : font.glyphs)
            if (glyph.code < kBdfconvFirstCode)
                lowGlyphs.append(glyphAtCode(glyph));
        if (!lowGlyphs.isEmpty())
            warnings.append(QStringLiteral("u8g2's bdfconv leaves out the codes below 20 with its usual map -m '32-255', "
                                           "and u8g2_DrawStr() stops at 00 and 0A: give bdfconv -m '1-255' and draw "
                                           "with u8g2_DrawGlyph() for %1")
                                .arg(lowGlyphs.join(QStringLiteral(", "))));
    }
    if (!exported.missingLabelDigits.isEmpty())
        warnings.append(QStringLiteral("the font has no glyph for \"%1\"; the sheet labels the codes with small digits "
                                       "of its own")
                            .arg(exported.missingLabelDigits));
    return warnings;
}

}  // namespace harfcode
