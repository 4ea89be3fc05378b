#include "c_source/reserved_names.h"
#include "firmware/strings_file.h"
#include "firmware/strings_header.h"

#include <gtest/gtest.h>

#include <string>

namespace harfcode {
namespace {

// Why the strings file NAME=A is refused, or "" when it is accepted.
std::string refusalOf(const char* name)
{
    const StringsFile file = parseStringsFile(name + QByteArray("=A\n"), headerMacros(headerGuards(u"strings.h")));
    return file.errors.empty() ? std::string() : file.errors.front().reason.toStdString();
}

TEST(ReservedNames, RefusesNamesThatBreakABuildWithTheStandardHeadersSayingWhy)
{
    const std::pair<const char*, const char*> cases[] = {
        {"printf", "\"printf\" is a C library function, which every program may use"},
        {"abs", "\"abs\" is a C library function, which every program may use"},
        {"memcpy", "\"memcpy\" is a C library function, which every program may use"},
        {"index", "\"index\" is a C library function, which every program may use"},  // GNU C's <strings.h>
        {"y0", "\"y0\" is a C library function, which every program may use"},
        {"round", "\"round\" is a C library function, which every program may use"},
        {"linux", "\"linux\" is predefined by GCC"},
        {"unix", "\"unix\" is predefined by GCC"},
        {"AVR", "\"AVR\" is predefined by GCC"},
        {"NULL", "\"NULL\" is a macro of <stddef.h>"},
        {"EOF", "\"EOF\" is a macro of <stdio.h>"},
        {"stdin", "\"stdin\" is a macro of <stdio.h>"},
        {"errno", "\"errno\" is a macro of <errno.h>"},
        {"INT_MAX", "\"INT_MAX\" is a macro of <limits.h>"},
        {"CHAR_BIT", "\"CHAR_BIT\" is a macro of <limits.h>"},
        {"FLT_MAX", "\"FLT_MAX\" is a macro of <float.h>"},
        {"noreturn", "\"noreturn\" is a macro of <stdnoreturn.h>"},
        {"complex", "\"complex\" is a macro of <complex.h>"},
        {"I", "\"I\" is a macro of <complex.h>"},
        {"PORTB", "\"PORTB\" is a macro of <avr/io.h>"},
        {"CLONE_VM", "\"CLONE_VM\" is a macro of <complex.h> in C++"},
        {"FILE", "\"FILE\" is a type of <stdio.h>"},
        {"tzname", "\"tzname\" is a variable of <time.h>"},
        {"memory_order_relaxed", "\"memory_order_relaxed\" is a constant of <stdatomic.h>"},
        {"std", "\"std\" is a namespace of the C++ library"},
        // The checks before the list say it better.
        {"bool", "\"bool\" is a C or C++ keyword"},
        {"SIZE_MAX", "\"SIZE_MAX\" is a name that <stdint.h> defines or may define"},
        {"PROGMEM", "\"PROGMEM\" is a macro of the header itself"},
        // Near the listed names, and names the headers use without breaking the build:
        // a struct tag, a macro with parameters, a macro that only renames.
        {"Printf", ""}, {"printf_", ""}, {"INT", ""}, {"AAA", ""}, {"zzzz", ""},
        {"tm", ""}, {"assert", ""}, {"XL", ""},
    };
    for (const auto& [name, refusal] : cases)
        EXPECT_EQ(refusalOf(name), refusal) << name;
}

// The search finds every name of the list, the first and the last as well.
TEST(ReservedNames, FindsEveryListedName)
{
    struct Listed {
        const char* name;
        const char* reason;
    };
    const Listed listed[] = {
#include "c_source/reserved_names.inc"
    };
    for (const Listed& entry : listed)
        EXPECT_EQ(reservedNameReason(QString::fromLatin1(entry.name)), QString::fromLatin1(entry.reason)) << entry.name;
    EXPECT_EQ(reservedNameReason(u""), std::nullopt);
    EXPECT_EQ(reservedNameReason(u"سلام"), std::nullopt);
}

}  // namespace
}  // namespace harfcode
