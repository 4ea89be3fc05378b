#include "firmware/strings_file.h"
#include "firmware/strings_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace harfcode {
namespace {

const QStringList kHeaderMacros = headerMacros(headerGuards(u"strings.h"));

// Entries as "line NAME=TEXT" and errors as "line: reason", in line order, one per line.
std::string outcomeOf(const QByteArray& bytes)
{
    const StringsFile file = parseStringsFile(bytes, kHeaderMacros);
    std::vector<std::pair<long, QString>> outcome;
    for (const StringsEntry& entry : file.entries)
        outcome.emplace_back(entry.line, QStringLiteral("%1 %2=%3").arg(entry.line).arg(entry.name, entry.text));
    for (const StringsFileError& error : file.errors)
        outcome.emplace_back(error.line, QStringLiteral("%1: %2").arg(error.line).arg(error.reason));
    std::stable_sort(outcome.begin(), outcome.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList lines;
    for (const auto& [line, text] : outcome)
        lines.append(text);
    return lines.join(u'\n').toStdString();
}

TEST(StringsFile, ReadsNameTextLinesAndSkipsBlanksAndComments)
{
    struct Case { QByteArray bytes; QStringList outcome; };
    const Case cases[] = {
        {"\xEF\xBB\xBFGREETING=A B\r\n\n   \n\t\n# NOTE=A\nEND=B", {"1 GREETING=A B", "6 END=B"}},
        {"A1= X = Y \n", {"1 A1= X = Y "}},                   // everything after the first "="
        {"A1=X\rB1=Y\r\rC1=Z\r\nD1=W", {"1 A1=X", "2 B1=Y", "4 C1=Z", "5 D1=W"}},  // CR, CR LF and LF end lines
        {"A1=X\n\n", {"1 A1=X"}},
        {"", {}},
        {"SALAM=سلام\n", {"1 SALAM=سلام"}},
        {"A1=X\nB1=\xD8\nC1=\xE2\x82\n", {"1 A1=X", "2: the line is not valid UTF-8", "3: the line is not valid UTF-8"}},
        {"A1 X\n #A1=X\n", {"1: expected NAME=TEXT, a blank line or a comment starting with \"#\"",
                            "2: \" #A1\" is not a C identifier (ASCII letters, digits and \"_\", not starting with a digit)"}},
        {"A1=\nB1=abc\nC1=\xE2\x80\x8C\n", {"1: the text of \"A1\" has no glyph, and an array cannot be empty",
                                          "2: the text of \"B1\" has no glyph, and an array cannot be empty",
                                          "3: the text of \"C1\" has no glyph, and an array cannot be empty"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(outcomeOf(c.bytes), c.outcome.join(u'\n').toStdString());
}

// The rules of C names are checked on their own; here, that every entry meets them, that the
// header's own macros come from its file name, and that two entries cannot share a name.
TEST(StringsFile, RejectsNamesThatCannotBeDeclaredOrAreTaken)
{
    struct Case { QByteArray bytes; QStringList outcome; };
    const Case cases[] = {
        {"=A\nint=A\nok=A\n", {"1: the name before \"=\" is empty", "2: \"int\" is a C or C++ keyword", "3 ok=A"}},
        {"HARFCODE_STRINGS_H=A\nHARFCODE_STRINGS_H_DEFINITIONS=A\nPROGMEM=A\nHARFCODE_STRINGS_IMPLEMENTATION=A\n",
         {"1: \"HARFCODE_STRINGS_H\" is a macro of the header itself", "2: \"HARFCODE_STRINGS_H_DEFINITIONS\" is a macro of the header itself",
          "3: \"PROGMEM\" is a macro of the header itself",
          "4: \"HARFCODE_STRINGS_IMPLEMENTATION\" is a macro of the header itself"}},
        {"GREETING=A\nGREETING_LENGTH=B\nGREETING_ROWS=C\nGREETING=D\nGREETING_ROW_START=E\nGREETING_ROW_X=F\n",
         {"1 GREETING=A", "2: \"GREETING_LENGTH\" is defined by the entry \"GREETING\" on line 1",
          "3: \"GREETING_ROWS\" is defined by the entry \"GREETING\" on line 1",
          "4: \"GREETING\" is already the name of the entry on line 1",
          "5: \"GREETING_ROW_START\" is defined by the entry \"GREETING\" on line 1",
          "6: \"GREETING_ROW_X\" is defined by the entry \"GREETING\" on line 1"}},
        {"MENU_ROWS=A\nMENU=B\nMENU_LENGTH=C\nTOP_ROW_X=D\nTOP=E\n",
         {"1 MENU_ROWS=A", "2: \"MENU\" defines MENU_ROWS, the name of the entry on line 1", "3 MENU_LENGTH=C",
          "4 TOP_ROW_X=D", "5: \"TOP\" defines TOP_ROW_X, the name of the entry on line 4"}},
        {"A1=\nA1=X\n", {"1: the text of \"A1\" has no glyph, and an array cannot be empty", "2 A1=X"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(outcomeOf(c.bytes), c.outcome.join(u'\n').toStdString());
    EXPECT_EQ((StringsFileError{3, "x"}).message("dir/strings.txt"), "dir/strings.txt:3: x");
}

TEST(StringsHeader, GuardsFollowTheFileName)
{
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"strings.h", "HARFCODE_STRINGS_H"},     {u"strings.txt", "HARFCODE_STRINGS_H"}, {u"Strings.H", "HARFCODE_STRINGS_H"},
        {u"menu-v2.hpp", "HARFCODE_STRINGS_MENU_V2_H"}, {u"my..odd__name.h", "HARFCODE_STRINGS_MY_ODD_NAME_H"},
        {u"_x_.h", "HARFCODE_STRINGS_X_H"},       {u"9lives.h", "HARFCODE_STRINGS_9LIVES_H"},
        {u"منو.h", "HARFCODE_STRINGS_H"},         {u".h", "HARFCODE_STRINGS_H_H"},       {u"plain", "HARFCODE_STRINGS_PLAIN_H"},
        {u"font.h", "HARFCODE_STRINGS_FONT_H"},   // not the font header's guard
    };
    for (const auto& [fileName, guard] : cases) {
        const HeaderGuards guards = headerGuards(QStringView(fileName));
        EXPECT_EQ(guards.declarations.toStdString(), guard);
        EXPECT_EQ(guards.definitions.toStdString(), guard + std::string("_DEFINITIONS"));
    }
}

TEST(StringsHeader, DeclaresEveryArrayAndDefinesItOnlyForTheImplementation)
{
    HeaderSettings settings{"harfcode-cli 1.0.0", "harfcode-cli --header strings.txt", "HexTable.txt",
                            headerGuards(u"strings.h"), DisplayOrder::Visual, 0, false, std::nullopt};
    const QByteArray thirteen("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\xE1");
    const std::vector<HeaderEntry> entries = {
        {{"GREETING", "*/ end?\?/", 2}, {"\x37\x04\x34\x1A"}, {}},
        {{"LONG", "x", 3}, {thirteen}, {}},
    };
    const QByteArray header = stringsHeader(entries, settings);
    const QByteArray expectedParts[] = {
        " * Command: harfcode-cli --header strings.txt\n * Table:   HexTable.txt\n * Order:   visual\n",
        "#ifndef HARFCODE_STRINGS_H\n#define HARFCODE_STRINGS_H\n\n#include <stdint.h>\n\n#ifdef __cplusplus\nextern \"C\" {\n#endif\n",
        "/* GREETING: \"*\\/ end?\\?/\" */\n"
        "#if defined(GREETING)\n"
        "#error \"GREETING is already a macro where this header is included: rename the entry GREETING in the strings file\"\n"
        "#elif defined(GREETING_LENGTH)\n"
        "#error \"GREETING_LENGTH is already a macro where this header is included: rename the entry GREETING in the strings file\"\n"
        "#endif\n"
        "#define GREETING_LENGTH 4\nextern const uint8_t GREETING[GREETING_LENGTH];\n",
        "#define LONG_LENGTH 13\nextern const uint8_t LONG[LONG_LENGTH];\n",
        "#endif /* HARFCODE_STRINGS_H */\n\n#if defined(HARFCODE_STRINGS_IMPLEMENTATION) && !defined(HARFCODE_STRINGS_H_DEFINITIONS)\n"
        "#define HARFCODE_STRINGS_H_DEFINITIONS\n",
        "const uint8_t GREETING[GREETING_LENGTH] = {\n    0x37, 0x04, 0x34, 0x1A\n};\n",
        "const uint8_t LONG[LONG_LENGTH] = {\n"
        "    0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C,\n    0xE1\n};\n",
    };
    for (const QByteArray& part : expectedParts)
        EXPECT_TRUE(header.contains(part)) << part.toStdString() << "\n--- in ---\n" << header.toStdString();
    EXPECT_FALSE(header.contains("PROGMEM"));
    EXPECT_LT(header.indexOf("#endif /* HARFCODE_STRINGS_H */"), header.indexOf("const uint8_t GREETING[GREETING_LENGTH] ="));

    settings.width = 13;
    settings.progmem = true;
    const std::vector<HeaderEntry> rowEntries = {{{"MENU", "x", 1}, {"\x01\x01\x37\x04\x34\x1A\x01\x01\x01\x01\x01\x01\x01", thirteen}, {}}};
    const QByteArray rowHeader = stringsHeader(rowEntries, settings);
    const QByteArray expectedRowParts[] = {
        " * Order:   visual, rows of 13 codes, the text right-aligned\n",
        "#ifdef __AVR__\n#include <avr/pgmspace.h>\n#endif\n#ifndef PROGMEM\n#define PROGMEM\n#endif\n",
        "#elif defined(MENU_ROWS)\n#error \"MENU_ROWS is already a macro where this header is included: rename the entry MENU in the strings file\"\n"
        "#endif\n#define MENU_ROWS 2\nextern const uint8_t MENU[MENU_ROWS][13] PROGMEM;\n",
        "const uint8_t MENU[MENU_ROWS][13] PROGMEM = {\n    {\n"
        "        0x01, 0x01, 0x37, 0x04, 0x34, 0x1A, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,\n        0x01\n    },\n    {\n"
        "        0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C,\n        0xE1\n    }\n};\n",
    };
    for (const QByteArray& part : expectedRowParts)
        EXPECT_TRUE(rowHeader.contains(part)) << part.toStdString() << "\n--- in ---\n" << rowHeader.toStdString();
    EXPECT_FALSE(rowHeader.contains("MENU_LENGTH"));

    // Rows in pixels: one after another, unpadded, each with its start among them and its pen.
    settings.width = 0;
    settings.pixelRows = PixelRowSettings{128, {}, "tahoma.ttf, 12 px, hinting auto"};
    const std::vector<HeaderEntry> pixelEntries = {{{"MENU", "x", 1}, {thirteen, "\x37\x04"}, {0, 117}}};
    const QByteArray pixelHeader = stringsHeader(pixelEntries, settings);
    const QByteArray expectedPixelParts[] = {
        " * Order:   visual, rows of at most 128 pixels, each right-aligned at its _ROW_X\n"
        " * Font:    tahoma.ttf, 12 px, hinting auto\n",
        "#elif defined(MENU_ROWS)\n#error \"MENU_ROWS is already a macro where this header is included: rename the entry MENU in the strings file\"\n"
        "#elif defined(MENU_ROW_START)\n#error \"MENU_ROW_START is already a macro where this header is included: rename the entry MENU in the strings file\"\n"
        "#elif defined(MENU_ROW_X)\n#error \"MENU_ROW_X is already a macro where this header is included: rename the entry MENU in the strings file\"\n"
        "#endif\n#define MENU_LENGTH 15\n#define MENU_ROWS 2\n"
        "extern const uint8_t MENU[MENU_LENGTH] PROGMEM;\n"
        "extern const uint16_t MENU_ROW_START[MENU_ROWS + 1] PROGMEM;\n"
        "extern const uint16_t MENU_ROW_X[MENU_ROWS] PROGMEM;\n",
        "const uint8_t MENU[MENU_LENGTH] PROGMEM = {\n    /* row 0 */\n"
        "    0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C,\n    0xE1,\n"
        "    /* row 1 */\n    0x37, 0x04\n};\n"
        "const uint16_t MENU_ROW_START[MENU_ROWS + 1] PROGMEM = {0, 13, 15};\n"
        "const uint16_t MENU_ROW_X[MENU_ROWS] PROGMEM = {0, 117};\n",
    };
    for (const QByteArray& part : expectedPixelParts)
        EXPECT_TRUE(pixelHeader.contains(part)) << part.toStdString() << "\n--- in ---\n" << pixelHeader.toStdString();
}

}  // namespace
}  // namespace harfcode
