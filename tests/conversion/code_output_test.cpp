#include "conversion/code_output.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

TEST(ConvertText, JoinsCodesInBothOrdersWithoutOuterBlanks)
{
    CodeStrings codes;
    // A: a leading blank is lost only at the outer end; B: a tab is no blank.
    for (auto [slot, code] : {std::pair{1, "20"}, {4, "0B"}, {5, "A1"}, {6, "A2"}, {74, " a"}, {75, "x\t"}, {76, "long"}})
        codes[slot - 1] = code;
    struct Case { const char *input, *typingOrder, *reverseOrder, *caption; };
    const Case cases[] = {
        {"", "", "", "Length : 0"},
        {"با", "A1  0B", "0B  A1", "Length : 2"},
        {"با ب", "A1  0B  20  A2", "A2  20  0B  A1", "Length : 4"},
        {"ببا", "A1  A1  0B", "0B  A1  A1", "Length : 3"},
        {"بbا", "A2    0B", "0B    A2", "Length : 3"},  // no slot: an empty code between
        {"bbب\n", "A1", "A1", "Length : 4"},  // empty codes at the ends vanish; next-joins carries
        {"ABC", "a  x\t  long", "long  x\t   a", "Length : 3"},
        {"\xF0\x9F\x98\x80", "", "", "Length : 2"},       // UTF-16 units are counted
    };
    ConversionOutput reused;
    for (const Case& c : cases) {
        const QString input = QString::fromUtf8(c.input);
        for (const ConversionOutput& output : {convertText(input, codes), (convertText(input, codes, reused), reused)}) {
            EXPECT_EQ(output.typingOrder, QString::fromUtf8(c.typingOrder)) << c.input;
            EXPECT_EQ(output.reverseOrder, QString::fromUtf8(c.reverseOrder)) << c.input;
            EXPECT_EQ(output.lengthCaption, QString::fromUtf8(c.caption)) << c.input;
        }
    }
}

}  // namespace
}  // namespace harfcode
