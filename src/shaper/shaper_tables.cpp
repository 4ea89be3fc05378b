#include "shaper/shaper_tables.h"

#include "c_source/c_comment.h"
#include "conversion/character_names.h"
#include "conversion/letter_classes.h"
#include "conversion/slot_selection.h"
#include "conversion/windows1256.h"

#include <QChar>
#include <QString>

#include <vector>

namespace harfcode {
namespace {

// The shaper's class numbers that are not a letter class: the text's edge, a character the code
// page lacks, a mark.
constexpr int kEdgeClass = 0;
constexpr int kNoValueClass = 1;
constexpr int kTransparentClass = 255;

// The letter classes in the order characters first take them, so that characters whose classes
// follow each other (digits, capitals) make one run.
struct ClassNumbers {
    std::vector<LetterClass> classes{kTextEdge, letterClass(kNoWindows1256Value)};

    // The edge is no character's class, though a breaker's flags and forms are the same.
    int numberOf(const LetterClass& letter)
    {
        for (std::size_t index = kNoValueClass; index < classes.size(); ++index)
            if (classes[index] == letter)
                return int(index);
        classes.push_back(letter);
        Q_ASSERT(classes.size() < kTransparentClass);
        return int(classes.size() - 1);
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

struct Run {
    char32_t start;
    unsigned last;  // characters after the first
    int firstClass;
    bool stepping;  // each character the class after the one before
};

QByteArray classRuns(ClassNumbers& numbers)
{
    std::vector<Run> runs;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const int number = classOfUnit(char16_t(unit), numbers);
        if (number == kNoValueClass)
            continue;
        if (!runs.empty()) {
            Run& run = runs.back();
            const bool next = run.start + run.last + 1 == unit && run.last < 255;
            if (next && run.last == 0 && number == run.firstClass + 1 && number != kTransparentClass)
                run.stepping = true;
            if (next && number == (run.stepping ? run.firstClass + int(run.last) + 1 : run.firstClass)) {
                ++run.last;
                continue;
            }
        }
        runs.push_back({unit, 0, number, false});
    }
    QByteArray out = "#define HARFCODE_CLASS_RUN_COUNT " + QByteArray::number(qsizetype(runs.size()))
                     + "\n/* Characters by runs: the first (high byte, low byte), how many follow it, its class, and\n"
                       "   whether each next character takes the next class (1) or the same (0); 255 is a mark. */\n"
                       "static const uint8_t harfcode_class_runs[][5] HARFCODE_FLASH = {\n";
    for (const Run& run : runs)
        out += "    {" + hexByte(run.start >> 8) + ", " + hexByte(run.start & 0xFF) + ", " + QByteArray::number(run.last)
               + ", " + QByteArray::number(run.firstClass) + ", " + (run.stepping ? "1" : "0") + "}, /* "
               + codePointName(run.start).toLatin1() + (run.last ? " to " + codePointName(run.start + run.last).toLatin1() : "")
               + " */\n";
    return out + "};\n";
}

QByteArray astralMarks()
{
    std::vector<Run> runs;
    for (char32_t character = 0x10000; character <= 0x10FFFF; ++character) {
        if (!isTransparentToJoining(character))
            continue;
        if (!runs.empty() && runs.back().start + runs.back().last + 1 == character && runs.back().last < 255)
            ++runs.back().last;
        else
            runs.push_back({character, 0, kTransparentClass, false});
    }
    QByteArray out = "#define HARFCODE_ASTRAL_MARK_COUNT " + QByteArray::number(qsizetype(runs.size()))
                     + "\n/* The marks beyond U+FFFF: the first (three bytes), how many follow it. */\n"
                       "static const uint8_t harfcode_astral_marks[][4] HARFCODE_FLASH = {\n";
    for (const Run& run : runs)
        out += "    {" + hexByte(run.start >> 16) + ", " + hexByte(run.start >> 8 & 0xFF) + ", "
               + hexByte(run.start & 0xFF) + ", " + QByteArray::number(run.last) + "}, /* "
               + codePointName(run.start).toLatin1() + " */\n";
    return out + "};\n";
}

QByteArray classTable(const ClassNumbers& numbers)
{
    QByteArray out = "/* Each class: its joining flags (1 keeps the previous join, 2 sets it, 4 keeps the next, 8 sets\n"
                     "   it), then its slot when neither neighbour joins, the next, both, the previous. */\n"
                     "static const uint8_t harfcode_classes[][5] HARFCODE_FLASH = {\n";
    for (std::size_t index = 0; index < numbers.classes.size(); ++index) {
        const LetterClass& letter = numbers.classes[index];
        out += "    {" + QByteArray::number(flagsOf(letter));
        for (const Slot slot : letter.forms)
            out += ", " + QByteArray::number(slot);
        out += "}, /* " + QByteArray::number(qsizetype(index)) + ": "
               + (index == kEdgeClass      ? QByteArray("beyond the text")
                  : index == kNoValueClass ? QByteArray("no glyph")
                  : letter.forms[0]        ? commentText(QString(QChar(char16_t(glyphOfSlot(letter.forms[0]))))).toUtf8()
                                           : QByteArray("joins, no glyph"))
               + " */\n";
    }
    return out + "};\n";
}

QByteArray slotTables(const SlotCodes& codes)
{
    QByteArray out = "/* The code and the presentation form (high byte, low byte) of every slot, from slot 1. */\n"
                     "static const uint8_t harfcode_slot_codes[103] HARFCODE_FLASH = {\n";
    for (int slot = 1; slot <= kSlotCount; ++slot)
        out += "    " + hexByte(codes[std::size_t(slot - 1)]) + ", /* slot " + QByteArray::number(slot) + " */\n";
    out += "};\nstatic const uint8_t harfcode_slot_characters[103][2] HARFCODE_FLASH = {\n";
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const char32_t character = characterOfSlot(Slot(slot));
        out += "    {" + hexByte(character >> 8) + ", " + hexByte(character & 0xFF) + "}, /* slot "
               + QByteArray::number(slot) + ": " + codePointName(character).toLatin1() + " */\n";
    }
    return out + "};\n";
}

}  // namespace

QByteArray shaperTables(const SlotCodes& codes)
{
    ClassNumbers numbers;
    const QByteArray runs = classRuns(numbers);  // numbers the classes
    return classTable(numbers) + runs + astralMarks() + slotTables(codes);
}

}  // namespace harfcode
