#include "font/display_font.h"

#include <algorithm>
#include <map>

namespace harfcode {
const DisplayGlyph* DisplayFont::glyphAt(std::uint8_t code) const
{
    const auto found = std::lower_bound(glyphs.begin(), glyphs.end(), code,
                                        [](const DisplayGlyph& glyph, std::uint8_t wanted) { return glyph.code < wanted; });
    return found != glyphs.end() && found->code == code ? &*found : nullptr;
}

QStringList DisplayFontError::descriptions(const QString& unfilledAdvice) const
{
    QStringList lines;
    for (const InvalidCode& invalid : invalidCodes)
        lines.append(invalid.description());
    if (unfilledTable)
        lines.append(QStringLiteral("every code of the table is still %1: there is no glyph to place; %2")
                         .arg(quotedUnfilledCode(), unfilledAdvice));
    for (const MissingGlyph& missing : missingGlyphs)
        lines.append(missing.description());
    return lines;
}

QString SharedCode::description() const
{
    std::vector<Slot> slots = others;
    slots.insert(slots.begin(), stored);
    return QStringLiteral("slots %1 share the code %2, which holds the glyph of slot %3")
        .arg(slotNumbers(slots), QString::asprintf("%02X", code))
        .arg(stored);
}

QString MissingGlyph::description() const
{
    return fault.description(QStringLiteral("%1, code %2").arg(slotName(slot), QString::asprintf("%02X", code)));
}

std::variant<DisplayFont, DisplayFontError> displayFont(const FontFace& face, const CodeStrings& codes, Hinting hinting)
{
    PartialDisplayFont partial = partialDisplayFont(face, codes, hinting);
    if (!partial.whole())
        return std::move(partial.problems);
    return std::move(partial.font);
}

PartialDisplayFont partialDisplayFont(const FontFace& face, const CodeStrings& codes, Hinting hinting)
{
    CodeUsage usage = codeUsage(codes);
    DisplayFontError error;
    error.invalidCodes = std::move(usage.invalidCodes);
    DisplayFont font;
    font.unfilledSlots = usage.unfilledSlots;
    const std::map<std::uint8_t, std::vector<Slot>>& slotsOfCode = usage.slotsOfCode;
    error.unfilledTable = error.invalidCodes.empty() && slotsOfCode.empty();

    // A broken font may put its ascender below the baseline, or its descender above it.
    int top = std::max(face.ascender(), 0);
    int bottom = std::min(face.descender(), 0);
    for (const auto& [code, slots] : slotsOfCode) {
        const Slot slot = slots.front();
        auto rendered = face.render(characterOfSlot(slot), hinting);
        if (const auto* fault = std::get_if<GlyphFault>(&rendered)) {
            error.missingGlyphs.push_back({slot, code, *fault});
            continue;
        }
        auto* bitmap = &std::get<RenderedGlyph>(rendered);
        if (slot == kBlankSlot) {
            *bitmap = RenderedGlyph{0, 0, 0, 0, bitmap->advance, {}};
        } else if (bitmap->fromNoData) {
            error.missingGlyphs.push_back({slot, code, GlyphFault{GlyphFault::Kind::Empty, 0, 0, {}}});
            continue;
        } else if (!bitmap->hasInk()) {
            font.inklessSlots.push_back(slot);
        }
        if (bitmap->rows > 0) {
            top = std::max(top, bitmap->top);
            bottom = std::min(bottom, bitmap->top - bitmap->rows);
        }
        if (slots.size() > 1)
            font.sharedCodes.push_back({code, slot, {slots.begin() + 1, slots.end()}});
        font.glyphs.push_back({code, slot, std::move(*bitmap)});
    }
    std::sort(font.inklessSlots.begin(), font.inklessSlots.end());
    font.height = top - bottom;
    font.baseline = top;
    return {std::move(font), std::move(error)};
}

SlotGlyph slotGlyph(const DisplayFont& font, const CodeStrings& codes, Slot slot)
{
    const QString& code = codes[static_cast<std::size_t>(slot - 1)];
    const std::optional<std::uint8_t> byte = codeByte(code);
    if (!byte)
        return {nullptr, SlotGlyph::Mark::InvalidCode};
    if (code == u"00")
        return {nullptr, SlotGlyph::Mark::Unfilled};
    const DisplayGlyph* glyph = font.glyphAt(*byte);
    if (!glyph)
        return {nullptr, SlotGlyph::Mark::MissingGlyph};
    const bool shared = std::any_of(font.sharedCodes.begin(), font.sharedCodes.end(),
                                    [&](const SharedCode& sharedCode) { return sharedCode.code == *byte; });
    return {glyph, shared ? SlotGlyph::Mark::SharedCode : SlotGlyph::Mark::None};
}

}  // namespace harfcode
