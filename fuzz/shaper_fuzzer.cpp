// Compiles the firmware's shaper, as --shaper writes it for a table of distinct codes, and
// compares it with the converter's own conversion. With the first byte odd, every later byte
// picks a character of the blocks where visual order is exact, and every order must be equal;
// otherwise the bytes are the text as they are: typing and reverse order must be equal, visual
// order must hold the same codes.
#define HARFCODE_SHAPER_IMPLEMENTATION
#include "shaper.h"

#include "conversion/code_output.h"
#include "layout/display_order.h"
#include "table/new_display_codes.h"

#include "invariant.h"

#include <QString>

#include <unicode/ustring.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace harfcode;
using harfcode::fuzz::require;

// Letters and their forms, marks, the half-space, ZWJ, tatweel, digits of three kinds, capitals,
// small letters, brackets, punctuation, blanks, TAB, the direction marks, fullwidth forms.
constexpr char16_t kExactCharacters[] = {
    u'ب', u'پ', u'ت', u'س', u'ش', u'ع', u'غ', u'ک', u'گ', u'ل', u'م', u'ن', u'ه', u'ی', u'ا', u'آ', u'د', u'ر', u'و',
    u'ژ', u'ة', u'ى', 0x064E, 0x0651, 0x0670, 0x200C, 0x200D, 0x0640, u'0', u'5', 0x0661, 0x0665, 0x06F1, 0x06F5,
    u'A', u'Z', u'a', u'z', u'(', u')', u'[', u']', u'{', u'}', u'<', u'>', u'.', u',', u'!', u'?', u'$', u'%',
    u'+', u'-', u'/', u':', u'#', 0x060C, 0x061F, u' ', u' ', u'\t', 0x200E, 0x200F, 0x061C, 0xFE91, 0xFEEA, 0xFF08,
    0xFF09, 0xFF21, 0x00A0, 0x00AB, 0x00BB, 0x00A3, 0x2026, 0x2030, 0x0009, 0x000B, 0x001F, 0x00AD, 0xFEFF,
};

std::vector<std::uint8_t> converterCodes(QStringView text, DisplayOrder order)
{
    std::vector<Slot> slots = slotsInOrder(text, order);
    std::erase(slots, kNoSlot);
    static const CodeStrings codes = newDisplayCodes();
    const QByteArray bytes = codeBytesOf(slots, codes).bytes;
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> shaperCodes(const QByteArray& text, harfcode_order order)
{
    std::vector<unsigned char> scratch(HARFCODE_SCRATCH_SIZE(text.size()));
    std::vector<std::uint8_t> codes(std::size_t(text.size()) + 1);
    const std::size_t count = harfcode_codes(text.constData(), std::size_t(text.size()), order, codes.data(), codes.size(),
                                             scratch.data(), scratch.size());
    require(count <= std::size_t(text.size()), "the shaper refuses a valid text or gives more codes than bytes");
    codes.resize(count);
    return codes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool exact = data[0] & 1;
    QByteArray text;
    if (exact) {
        QString characters;
        for (std::size_t i = 1; i < size; ++i)
            characters += QChar(kExactCharacters[data[i] % std::size(kExactCharacters)]);
        text = characters.toUtf8();
    } else {
        text = QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    }
    // The converter's decoding: ICU's, which refuses anything ill-formed.
    std::vector<UChar> units(std::size_t(text.size()) + 1);
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(units.data(), int32_t(units.size()), &length, text.constData(), int32_t(text.size()), &status);
    const bool valid = U_SUCCESS(status);
    require((harfcode_codes(text.constData(), std::size_t(text.size()), HARFCODE_TYPING, nullptr, 0, nullptr, 0)
             == HARFCODE_INVALID_TEXT)
                == !valid,
            "the shaper and the converter differ on whether the text is UTF-8");
    if (!valid)
        return 0;
    const QStringView decoded(reinterpret_cast<const char16_t*>(units.data()), length);
    const std::pair<DisplayOrder, harfcode_order> orders[] = {
        {DisplayOrder::Typing, HARFCODE_TYPING}, {DisplayOrder::Reverse, HARFCODE_REVERSE}, {DisplayOrder::Visual, HARFCODE_VISUAL}};
    for (const auto& [order, shaperOrder] : orders) {
        std::vector<std::uint8_t> expected = converterCodes(decoded, order);
        std::vector<std::uint8_t> actual = shaperCodes(text, shaperOrder);
        if (!exact && order == DisplayOrder::Visual) {
            std::sort(expected.begin(), expected.end());
            std::sort(actual.begin(), actual.end());
        }
        require(actual == expected, order == DisplayOrder::Typing    ? "the codes differ in typing order"
                                    : order == DisplayOrder::Reverse ? "the codes differ in reverse order"
                                                                      : "the codes differ in visual order");
    }
    return 0;
}
