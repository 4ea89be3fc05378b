#include "firmware/display_order.h"

#include <QString>

#include <gtest/gtest.h>

#include <vector>

namespace harfcode {
namespace {

std::vector<int> slotsOf(const char* utf8, DisplayOrder order)
{
    const std::vector<Slot> slots = slotsInOrder(QString::fromUtf8(utf8), order);
    return {slots.begin(), slots.end()};
}

// Inputs are UTF-8 in typing order; the visual slots are read from the display's left edge.
TEST(DisplayOrder, VisualOrderReversesPersianRunsAndKeepsNumbersAndLatinLeftToRight)
{
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"", {}},
        {"سلام", {55, 4, 52, 26}},
        {"سلام 123", {65, 66, 67, 1, 55, 4, 52, 26}},               // ASCII digits after Persian
        {"سال ۱۴۰۳", {65, 68, 64, 67, 1, 53, 4, 26}},               // Persian digits keep their order
        {"٢٣ عدد", {21, 21, 36, 1, 66, 67}},                         // Arabic-Indic digits too
        {"عدد 12 و 34", {67, 68, 1, 58, 1, 65, 66, 1, 21, 21, 36}},  // two numbers in one line
        {"LED روشن", {57, 28, 58, 23, 1, 85, 78, 77}},              // capitals keep their order
        {"سلام!", {101, 55, 4, 52, 26}},                             // end punctuation at the left
        {"؟سلام", {55, 4, 52, 26, 103}},                             // leading punctuation at the right
        {"HELLO 42", {81, 78, 85, 85, 88, 1, 68, 66}},               // no Persian: as typed
        {"ب\u200Cب", {6, 6}},                                        // characters without a slot leave
        {"abc سلام", {55, 4, 52, 26, 1}},
    };
    for (const auto& [input, slots] : cases)
        EXPECT_EQ(slotsOf(input, DisplayOrder::Visual), slots) << input;
}

TEST(DisplayOrder, TypingAndReverseOrderKeepEveryPositionAndTheFormsOfTypingOrder)
{
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"", {}},
        {"بb1", {6, 0, 65}},
        {"سلام 12", {26, 52, 4, 55, 1, 65, 66}},
    };
    for (const auto& [input, slots] : cases) {
        EXPECT_EQ(slotsOf(input, DisplayOrder::Typing), slots) << input;
        EXPECT_EQ(slotsOf(input, DisplayOrder::Reverse), std::vector<int>(slots.rbegin(), slots.rend())) << input;
    }
}

}  // namespace
}  // namespace harfcode
