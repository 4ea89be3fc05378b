#include "editor/editor_grid.h"

#include "table/slot_catalogue.h"

#include <array>

namespace harfcode {
namespace {

constexpr int kRowsPerColumn = 15;
constexpr int kFirstRowTop = 16;
constexpr int kRowPitch = 40;
constexpr int kFieldHeight = 25;
constexpr int kCodeFieldWidth = 25;
constexpr int kGlyphFieldWidth = 33;
constexpr int kButtonLeft = 24;
constexpr int kButtonWidth = 81;

// Left edges of columns 1 (rightmost) to 7. The odd pixel of a few cells comes from the
// original twip layout and is kept so the grid matches it exactly.
constexpr std::array kCodeFieldLefts{633, 533, 433, 333, 233, 133, 33};
constexpr std::array kGlyphFieldLefts{672, 568, 472, 368, 272, 168, 72};

int columnOf(int slot) { return (slot - 1) / kRowsPerColumn; }
int topOf(int slot) { return kFirstRowTop + kRowPitch * ((slot - 1) % kRowsPerColumn); }

int codeFieldLeft(int slot)
{
    if (slot == kBlankSlot)
        return 632;
    if (slot >= 101)
        return 32;
    return kCodeFieldLefts[columnOf(slot)];
}

// Row `row` (1-based) of the last column, below its 13 slot cells.
QRect buttonRectInRow(int row)
{
    return {kButtonLeft, kFirstRowTop + kRowPitch * (row - 1), kButtonWidth, kFieldHeight};
}

}  // namespace

QRect codeFieldRect(int slot)
{
    return {codeFieldLeft(slot), topOf(slot), kCodeFieldWidth, kFieldHeight};
}

QRect glyphFieldRect(int slot)
{
    const int width = slot == kBlankSlot ? kCodeFieldWidth : kGlyphFieldWidth;
    return {kGlyphFieldLefts[columnOf(slot)], topOf(slot), width, kFieldHeight};
}

QRect saveButtonRect() { return buttonRectInRow(14); }
QRect cancelButtonRect() { return buttonRectInRow(15); }

}  // namespace harfcode
