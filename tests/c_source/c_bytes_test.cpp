#include "c_source/c_bytes.h"
#include "conversion/code_output.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

TEST(CodeFormats, OnlyTwoHexadecimalDigitsAreAByte)
{
    const std::pair<const char16_t*, std::optional<int>> cases[] = {
        {u"E1", 0xE1}, {u"e1", 0xE1}, {u"00", 0x00}, {u"fF", 0xFF}, {u"7a", 0x7A},
        {u"", std::nullopt}, {u"1", std::nullopt}, {u"E1 ", std::nullopt}, {u" 1", std::nullopt},
        {u"G1", std::nullopt}, {u"0x", std::nullopt}, {u"\u0661\u0662", std::nullopt},  // Arabic-Indic digits
        {u"\uFF11\uFF12", std::nullopt},                                               // full-width digits
    };
    for (const auto& [code, byte] : cases) {
        const std::optional<std::uint8_t> parsed = codeByte(QStringView(code));
        EXPECT_EQ(parsed.has_value(), byte.has_value()) << QString::fromUtf16(code).toStdString();
        if (parsed && byte) {
            EXPECT_EQ(*parsed, *byte) << QString::fromUtf16(code).toStdString();
        }
    }
}

TEST(CodeFormats, WritesTheBytesOfTheSlotsInUse)
{
    CodeStrings codes = defaultCodeStrings();
    codes[1 - 1] = "20", codes[4 - 1] = "0b", codes[5 - 1] = "A1", codes[6 - 1] = "G1", codes[74 - 1] = "";
    struct Case { std::vector<Slot> slots; QByteArray cArray, cString; QString invalid; };
    const Case cases[] = {
        {{5, kNoSlot, 4, 1}, "0xA1, 0x0B, 0x20", R"("\xA1\x0B\x20")", {}},
        {{}, "", R"("")", {}},
        {{kNoSlot}, "", R"("")", {}},
        {{7}, "0x00", R"("\x00")", {}},
        {{5, 6}, {}, {}, u"slot 6 (U+FE8F \"\uFE8F\") has the code \"G1\", which is not two hexadecimal digits"_qs},
        {{74}, {}, {}, R"(slot 74 (U+0041 "A") has the code "", which is not two hexadecimal digits)"},
    };
    for (const Case& c : cases) {
        const CodeBytes bytes = codeBytesOf(c.slots, codes);
        EXPECT_EQ(bytes.invalid ? bytes.invalid->description() : QString(), c.invalid);
        EXPECT_EQ(cArrayElements(bytes.bytes), c.cArray);
        EXPECT_EQ(cStringLiteral(bytes.bytes), c.invalid.isEmpty() ? c.cString : QByteArray(R"("")"));
    }
    codes[1 - 1] = " 1";
    EXPECT_EQ(codeBytesOf({1}, codes).invalid->description(),
              R"(slot 1 (the blank) has the code " 1", which is not two hexadecimal digits)");
}

}  // namespace
}  // namespace harfcode
