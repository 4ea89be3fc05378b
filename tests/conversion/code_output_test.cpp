#include "conversion/code_output.h"

#include "support/conversion_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace harfcode {
namespace {

TEST(ConvertText, JoinsCodesInBothOrdersWithoutOuterBlanks)
{
    CodeStrings codes;
    // A: a leading blank is lost only at the outer end; B: a tab is no blank.
    for (auto [slot, code] : {std::pair{1, "20"}, {4, "0B"}, {5, "A1"}, {6, "A2"}, {74, " a"}, {75, "x\t"}, {76, "long"}})
        codes[slot - 1] = code;
    ConversionOutput reused;
    const auto check = [&](const QString& input, const QStringList& expected, const std::string& where) {
        for (const ConversionOutput& output : {convertText(input, codes), (convertText(input, codes, reused), reused)}) {
            EXPECT_EQ(output.typingOrder, expected.value(0)) << where;
            EXPECT_EQ(output.reverseOrder, expected.value(1)) << where;
            EXPECT_EQ(output.lengthCaption, expected.value(2)) << where;
        }
    };
    for (const testing::ConversionText& text : testing::conversionTextsOf(QStringLiteral(HARFCODE_CONVERSION_TEXTS),
                                                                         QStringLiteral("codes"), QStringLiteral("joining")))
        check(text.text, text.codes, text.where());
    // Texts that the shaper does not take, so not in the shared file.
    check(QString::fromUtf8("bbب\n"), {"A1", "A1", "Length : 4"}, "empty codes at the ends vanish; next-joins carries");
    check(QString::fromUtf8("\xF0\x9F\x98\x80"), {"", "", "Length : 2"}, "UTF-16 units are counted");
}

}  // namespace
}  // namespace harfcode
