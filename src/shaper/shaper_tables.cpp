#include "shaper/shaper_tables.h"

#include "c_source/c_comment.h"
#include "conversion/character_names.h"
#include "conversion/letter_classes.h"
#include "conversion/slot_selection.h"
#include "conversion/windows1256.h"

#include <QChar>
#include <QString>

#include <unicode/uchar.h>

#include <algorithm>
#include <vector>

namespace harfcode {
namespace {

// The shaper's class numbers that are not a letter class: the text's edge, a character the code
// page lacks, a mark.
constexpr int kEdgeClass = 0;
constexpr int kNoValueClass = 1;
constexpr int kTransparentClass = 255;
// A class run's class with this bit: each next character takes the next class.
constexpr int kSteppingBit = 128;

// The letter classes in the order characters first take them, so that characters whose classes
// follow each other (digits, capitals) make one run.
struct ClassNumbers {
    std::vector<LetterClass> classes{kTextEdge, letterClass(kNoWindows1256Value)};
    std::size_t firstSingleForm = 0;

    // The edge is no character's class, though a breaker's flags and forms are the same.
    int numberOf(const LetterClass& letter)
    {
        for (std::size_t index = kNoValueClass; index < classes.size(); ++index)
            if (classes[index] == letter)
                return int(index);
        classes.push_back(letter);
        Q_ASSERT(classes.size() <= kSteppingBit);
        return int(classes.size() - 1);
    }

    // The classes whose glyph is one in every form (digits, capitals, punctuation) after the
    // others, each group in its order: their rows take two bytes, not five.
    void putSingleFormsLast()
    {
        const auto single = std::stable_partition(classes.begin() + kNoValueClass + 1, classes.end(),
                                                  [](const LetterClass& letter) { return !hasOneForm(letter); });
        firstSingleForm = std::size_t(single - classes.begin());
    }

    static bool hasOneForm(const LetterClass& letter)
    {
        return std::all_of(letter.forms.begin(), letter.forms.end(), [&](Slot slot) { return slot == letter.forms[0]; });
    }
};

int classOfUnit(char16_t unit, ClassNumbers& numbers)
{
    // Surrogates never reach the shaper, which decodes characters.
    if (QChar::isSurrogate(unit))
        return kNoValueClass;
    if (isTransparentToJoining(unit))
        return kTransparentClass;
    return numbers.numberOf(letterClass(windows1256Value(unit)));
}

std::uint8_t flagsOf(const LetterClass& letter)
{
    return std::uint8_t(letter.keepsPreviousJoin | letter.setsPreviousJoin << 1 | letter.keepsNextJoin << 2
                        | letter.setsNextJoin << 3);
}

QByteArray hexByte(unsigned value)
{
    return "0x" + QByteArray::number(value, 16).toUpper().rightJustified(2, '0');
}

// A table of rows in flash, and the macro of its row count.
QByteArray flashTable(const char* countMacro, std::size_t count, const char* comment, const char* declarator,
                      const QByteArray& rows)
{
    return "#define " + QByteArray(countMacro) + ' ' + QByteArray::number(qsizetype(count)) + "\n/* " + comment
           + " */\nstatic const uint8_t " + declarator + " HARFCODE_FLASH = {\n" + rows + "};\n";
}

struct Run {
    char32_t start;
    unsigned last;  // characters after the first
    int firstClass;
    bool stepping;  // each character the class after the one before
};

QByteArray runStart(char32_t start)
{
    return hexByte(start >> 8 & 0xFF) + ", " + hexByte(start & 0xFF);
}

QByteArray runName(const Run& run)
{
    return codePointName(run.start).toLatin1() + (run.last ? " to " + codePointName(run.start + run.last).toLatin1() : "");
}

// The characters that are no mark and have a glyph or join, by runs.
QByteArray classRuns(ClassNumbers& numbers)
{
    std::vector<Run> runs;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const int number = classOfUnit(char16_t(unit), numbers);
        if (number == kNoValueClass || number == kTransparentClass)
            continue;
        if (!runs.empty()) {
            Run& run = runs.back();
            const bool next = run.start + run.last + 1 == unit && run.last < 255;
            if (next && run.last == 0 && number == run.firstClass + 1)
                run.stepping = true;
            if (next && number == (run.stepping ? run.firstClass + int(run.last) + 1 : run.firstClass)) {
                ++run.last;
                continue;
            }
        }
        runs.push_back({unit, 0, number, false});
    }
    QByteArray rows;
    for (const Run& run : runs)
        rows += "    {" + runStart(run.start) + ", " + QByteArray::number(run.last) + ", "
                + QByteArray::number(run.firstClass | (run.stepping ? kSteppingBit : 0)) + "}, /* " + runName(run) + " */\n";
    Q_ASSERT(runs.size() <= 255);  // the search counts rows in a byte
    return flashTable("HARFCODE_CLASS_RUN_COUNT", runs.size(),
                      "Characters by runs: the first (high byte, low byte), how many follow it, and its class, plus\n"
                      "   128 where each next character takes the next class (otherwise the same). The marks are\n"
                      "   apart.",
                      "harfcode_class_runs[][4]", rows);
}

// The marks by runs, each as the characters from the end of the run before it to its first, the
// gap, and how many follow that one, the length; a mark joins nothing and lets its neighbours
// join across it. A run mostly takes a byte: the high bit says that more of the gap follows,
// then three bits of length (7: a byte of its own follows the gap), then the gap's first four
// bits; each byte more of the gap holds seven bits below, the high bit again saying that more
// follows. Few runs stand before the Arabic marks, which a scan from the start meets early.
QByteArray marks()
{
    std::vector<Run> runs;
    for (char32_t character = 0; character <= 0x10FFFF; ++character) {
        if (!isTransparentToJoining(character))
            continue;
        if (!runs.empty() && runs.back().start + runs.back().last + 1 == character && runs.back().last < 255)
            ++runs.back().last;
        else
            runs.push_back({character, 0, kTransparentClass, false});
    }
    constexpr unsigned kLengthOfItsOwn = 7;
    QByteArray rows;
    int bytes = 0;
    char32_t end = 0;
    for (const Run& run : runs) {
        const char32_t gap = run.start - end;
        int more = 0;
        while (gap >> (7 * more) >= 16)
            ++more;
        const unsigned length = std::min(run.last, kLengthOfItsOwn);
        QByteArray row = hexByte((more ? 0x80 : 0) | length << 4 | (gap >> (7 * more) & 0x0F));
        while (more-- > 0)
            row += ", " + hexByte((more ? 0x80 : 0) | (gap >> (7 * more) & 0x7F));
        if (length == kLengthOfItsOwn)
            row += ", " + QByteArray::number(run.last);
        rows += "    " + row + ", /* " + runName(run) + " */\n";
        bytes += int(row.count(',')) + 1;
        end = run.start + run.last + 1;
    }
    return flashTable("HARFCODE_MARK_BYTES", std::size_t(bytes),
                      "The marks by runs: the characters between the run before and its first, then how many\n"
                      "   follow it. The first byte: 128 where more of the gap follows, the length (7: a byte of its\n"
                      "   own follows the gap) times 16, the gap's first four bits; each byte more of the gap: 128\n"
                      "   where more follows, seven bits.",
                      "harfcode_marks[]", rows);
}

QByteArray classComment(const ClassNumbers& numbers, std::size_t index)
{
    const LetterClass& letter = numbers.classes[index];
    return " /* " + QByteArray::number(qsizetype(index)) + ": "
           + (index == kEdgeClass      ? QByteArray("beyond the text")
              : index == kNoValueClass ? QByteArray("no glyph")
              : letter.forms[0]        ? commentText(QString(QChar(char16_t(glyphOfSlot(letter.forms[0]))))).toUtf8()
                                       : QByteArray("joins, no glyph"))
           + " */\n";
}

QByteArray classTable(const ClassNumbers& numbers)
{
    QByteArray out = "/* Each class: its joining flags (1 keeps the previous join, 2 sets it, 4 keeps the next, 8 sets\n"
                     "   it), then its slot when neither neighbour joins, the next, both, the previous. From\n"
                     "   HARFCODE_FIRST_SINGLE_FORM on, the classes of one slot in every form: flags and slot. */\n"
                     "#define HARFCODE_FIRST_SINGLE_FORM "
                     + QByteArray::number(qsizetype(numbers.firstSingleForm))
                     + "\nstatic const uint8_t harfcode_classes[][5] HARFCODE_FLASH = {\n";
    for (std::size_t index = 0; index < numbers.classes.size(); ++index) {
        const LetterClass& letter = numbers.classes[index];
        if (index == numbers.firstSingleForm)
            out += "};\nstatic const uint8_t harfcode_single_form_classes[][2] HARFCODE_FLASH = {\n";
        out += "    {" + QByteArray::number(flagsOf(letter));
        for (std::size_t form = 0; form < (index < numbers.firstSingleForm ? letter.forms.size() : 1); ++form)
            out += ", " + QByteArray::number(letter.forms[form]);
        out += "}," + classComment(numbers, index);
    }
    return out + "};\n";
}

QByteArray slotTables(const SlotCodes& codes)
{
    QByteArray out = "/* The code of every slot, from slot 1. */\n"
                     "static const uint8_t harfcode_slot_codes[103] HARFCODE_FLASH = {\n";
    for (int slot = 1; slot <= kSlotCount; ++slot)
        out += "    " + hexByte(codes[std::size_t(slot - 1)]) + ", /* slot " + QByteArray::number(slot) + " */\n";
    // Neighbouring slots mostly share their high byte: the high bytes by runs of slots.
    QByteArray lowBytes, highBytes;
    int runs = 0;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const char32_t character = characterOfSlot(Slot(slot));
        lowBytes += "    " + hexByte(character & 0xFF) + ", /* slot " + QByteArray::number(slot) + ": "
                    + codePointName(character).toLatin1() + " */\n";
        if (slot == 1 || character >> 8 != characterOfSlot(Slot(slot - 1)) >> 8) {
            highBytes += "    {" + QByteArray::number(slot) + ", " + hexByte(character >> 8) + "},\n";
            ++runs;
        }
    }
    return out + "};\n/* The low byte of every slot's presentation form, from slot 1. */\n"
                 "static const uint8_t harfcode_slot_characters[103] HARFCODE_FLASH = {\n"
           + lowBytes + "};\n"
           + flashTable("HARFCODE_HIGH_BYTE_RUNS", std::size_t(runs),
                        "The high byte of the presentation forms by runs of slots: the first slot, the high byte.",
                        "harfcode_slot_high_bytes[][2]", highBytes);
}

// The blocks where the shaper's visual order is ICU's, character for character; beyond them it
// knows the characters that Windows maps to its code page.
constexpr std::pair<char32_t, char32_t> kBidiBlocks[] = {
    {0x0000, 0x00FF}, {0x0600, 0x077F}, {0x2000, 0x206F}, {0xFB50, 0xFDFF}, {0xFE70, 0xFEFF},
};

bool bidiKnown(char32_t character)
{
    for (const auto& [first, last] : kBidiBlocks)
        if (character >= first && character <= last)
            return true;
    return character <= 0xFFFF && windows1256Value(char16_t(character)) != kNoWindows1256Value;
}

// What the shaper's rules later need to know of a character's class once they have changed it:
// whether it was whitespace or a separator; the bits above the class.
constexpr int kWasBlank = 0x40;
constexpr int kWasSeparator = 0x60;

// The class the shaper gives a character of ICU's class, and its kind: the explicit embeddings,
// overrides and isolates are passed over as rule X9 passes over the boundary neutrals.
int shaperBidiClass(UCharDirection direction)
{
    switch (direction) {
    case U_WHITE_SPACE_NEUTRAL:
        return direction | kWasBlank;
    case U_SEGMENT_SEPARATOR:
    case U_BLOCK_SEPARATOR:
        return direction | kWasSeparator;
    case U_LEFT_TO_RIGHT_EMBEDDING:
    case U_LEFT_TO_RIGHT_OVERRIDE:
    case U_RIGHT_TO_LEFT_EMBEDDING:
    case U_RIGHT_TO_LEFT_OVERRIDE:
    case U_POP_DIRECTIONAL_FORMAT:
    case U_FIRST_STRONG_ISOLATE:
    case U_LEFT_TO_RIGHT_ISOLATE:
    case U_RIGHT_TO_LEFT_ISOLATE:
    case U_POP_DIRECTIONAL_ISOLATE:
        return U_BOUNDARY_NEUTRAL;
    default:
        return direction;
    }
}

// Every other character is taken for a left-to-right letter, as most scripts' are.
constexpr int kDefaultBidiClass = U_LEFT_TO_RIGHT;

QByteArray bidiClassRuns()
{
    struct BidiRun {
        char32_t start;
        unsigned last;
        int bidiClass;
    };
    std::vector<BidiRun> runs;
    for (char32_t character = 0; character <= 0xFFFF; ++character) {
        if (!bidiKnown(character))
            continue;
        const int bidiClass = shaperBidiClass(u_charDirection(UChar32(character)));  // with its kind
        if (!runs.empty() && runs.back().start + runs.back().last + 1 == character && runs.back().last < 255
            && runs.back().bidiClass == bidiClass)
            ++runs.back().last;
        else
            runs.push_back({character, 0, bidiClass});
    }
    // Outside the runs every character takes the default.
    std::erase_if(runs, [](const BidiRun& run) { return run.bidiClass == kDefaultBidiClass; });
    QByteArray rows;
    for (const BidiRun& run : runs)
        rows += "    {" + hexByte(run.start >> 8) + ", " + hexByte(run.start & 0xFF) + ", " + QByteArray::number(run.last)
                + ", " + QByteArray::number(run.bidiClass) + "}, /* " + codePointName(run.start).toLatin1() + " */\n";
    Q_ASSERT(runs.size() <= 255);  // the search counts rows in a byte
    return flashTable("HARFCODE_BIDI_RUN_COUNT", runs.size(),
                      "The bidirectional class of characters by runs, as ICU has them: the first (high byte, low\n"
                      "   byte), how many follow it, their class (ICU's UCharDirection; the explicit embeddings,\n"
                      "   overrides and isolates are boundary neutrals), plus 64 for whitespace, 96 for a segment\n"
                      "   or paragraph separator.",
                      "harfcode_bidi_runs[][4]", rows);
}

// The paired brackets among the characters whose class is known: each opening one and its
// closing one.
QByteArray bracketPairs()
{
    QByteArray pairs;
    int count = 0;
    for (char32_t character = 0; character <= 0xFFFF; ++character) {
        if (!bidiKnown(character)
            || u_getIntPropertyValue(UChar32(character), UCHAR_BIDI_PAIRED_BRACKET_TYPE) != U_BPT_OPEN)
            continue;
        const char32_t closing = char32_t(u_getBidiPairedBracket(UChar32(character)));
        pairs += "    {" + hexByte(character >> 8) + ", " + hexByte(character & 0xFF) + ", " + hexByte(closing >> 8) + ", "
                 + hexByte(closing & 0xFF) + "}, /* " + codePointName(character).toLatin1() + " and "
                 + codePointName(closing).toLatin1() + " */\n";
        ++count;
        Q_ASSERT(count < 32);  // an open bracket's number takes five bits of its byte
    }
    return "#define HARFCODE_BRACKET_COUNT " + QByteArray::number(count)
           + "\n/* The paired brackets: the opening one (high byte, low byte), the closing one. */\n"
             "static const uint8_t harfcode_brackets[][4] HARFCODE_FLASH = {\n"
           + pairs + "};\n";
}

}  // namespace

QByteArray shaperTables(const SlotCodes& codes)
{
    ClassNumbers numbers;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit)
        classOfUnit(char16_t(unit), numbers);
    numbers.putSingleFormsLast();
    return classTable(numbers) + classRuns(numbers) + marks() + slotTables(codes) + bidiClassRuns() + bracketPairs();
}

}  // namespace harfcode
