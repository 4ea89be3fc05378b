#include "c_source/c_comment.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

TEST(CComment, TextCannotEndOrDisturbTheComment)
{
    const std::pair<QString, QString> cases[] = {
        {u"a*/b"_qs, uR"(a*\/b)"_qs},
        {u"a/*b"_qs, uR"(a/\*b)"_qs},
        {u"/*/"_qs, uR"(/\*\/)"_qs},
        {u"?\?/ ?\?\?"_qs, uR"(?\?/ ?\?\?)"_qs},  // "??/ ???"
        {u"end\\"_qs, u"end<U+005C>"_qs},
        {u"a\\b"_qs, u"a\\b"_qs},                               // only a trailing backslash joins lines
        {u"a\tb\r\n\u0085\u2028"_qs, u"a<U+0009>b<U+000D><U+000A><U+0085><U+2028>"_qs},
        {u"\u202Eabc\u2066"_qs, u"<U+202E>abc<U+2066>"_qs},     // direction overrides and isolates
        {u"\u200Eب\u200Fا\u061C"_qs, u"<U+200E>ب<U+200F>ا<U+061C>"_qs},  // and the direction marks
        {u"سلام\u200Cها"_qs, u"سلام\u200Cها"_qs},                // the half-space stays
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(commentText(text), shown) << text.toStdString();
}

}  // namespace
}  // namespace harfcode
