#include "layout/entry_rows.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

// A table whose code for slot k is k itself, so that bytes read as slot numbers.
CodeStrings slotNumberCodes()
{
    CodeStrings codes;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        codes[slot - 1] = QStringLiteral("%1").arg(slot, 2, 16, QChar(u'0'));
    return codes;
}

TEST(EntryRows, RowsArePaddedWithTheBlankSoTheTextStandsRightAligned)
{
    CodeStrings codes = slotNumberCodes();
    // سلام: seen 26, lam 52, alef 4, meem 55; دنیا: dal 21, noon 56, yeh 62, alef 4
    struct Case { const char* text; DisplayOrder order; int width; std::vector<QByteArray> rows; };
    const Case cases[] = {
        {"سلام", DisplayOrder::Typing, 0, {"\x1A\x34\x04\x37"}},
        {"سلام", DisplayOrder::Reverse, 0, {"\x37\x04\x34\x1A"}},
        {"سلام", DisplayOrder::Typing, 6, {"\x1A\x34\x04\x37\x01\x01"}},
        {"سلام", DisplayOrder::Reverse, 6, {"\x01\x01\x37\x04\x34\x1A"}},
        {"سلام", DisplayOrder::Visual, 6, {"\x01\x01\x37\x04\x34\x1A"}},
        {"سلام", DisplayOrder::Visual, 4, {"\x37\x04\x34\x1A"}},
        {"سلام دنیا", DisplayOrder::Typing, 5, {"\x1A\x34\x04\x37\x01", "\x15\x38\x3E\x04\x01"}},
        {"سلام دنیا", DisplayOrder::Visual, 5, {"\x01\x37\x04\x34\x1A", "\x01\x04\x3E\x38\x15"}},
        // each row is its own paragraph: the digits keep their order within their row
        {"سلام 12", DisplayOrder::Visual, 4, {"\x37\x04\x34\x1A", "\x01\x01\x41\x42"}},
        {"سلام 12", DisplayOrder::Visual, 0, {"\x41\x42\x01\x37\x04\x34\x1A"}},
    };
    for (const Case& c : cases) {
        const EntryCodes entry = entryCodes(QString::fromUtf8(c.text), codes, c.order, c.width);
        EXPECT_FALSE(entry.invalid) << c.text;
        EXPECT_EQ(entry.rows, c.rows) << c.text << " / " << int(c.order) << " / " << c.width;
    }

    codes[26 - 1] = "G1";
    EXPECT_EQ(entryCodes(u"سلام", codes, DisplayOrder::Visual, 0).invalid->slot, 26);
    codes = slotNumberCodes();
    codes[1 - 1] = "";  // the blank is needed only where a row is padded
    EXPECT_EQ(entryCodes(u"سلام", codes, DisplayOrder::Visual, 6).invalid->slot, 1);
    EXPECT_EQ(entryCodes(u"سلام", codes, DisplayOrder::Visual, 6).rows.size(), 0u);
    EXPECT_FALSE(entryCodes(u"سلام", codes, DisplayOrder::Visual, 4).invalid);
    codes[26 - 1] = "G1";  // the text's own code is told before the padding's
    EXPECT_EQ(entryCodes(u"سلام", codes, DisplayOrder::Visual, 6).invalid->slot, 26);
}

}  // namespace
}  // namespace harfcode
