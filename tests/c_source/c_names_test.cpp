#include "c_source/c_names.h"
#include "c_source/reserved_names.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

TEST(CNames, RefusesNamesThatCannotBeDeclaredOrBreakABuildSayingWhy)
{
    const QStringList headerMacros = {"HARFCODE_STRINGS_H", "PROGMEM"};
    const std::pair<const char*, const char*> cases[] = {
        {"", "the name before \"=\" is empty"},
        {"سلام", "\"سلام\" is not a C identifier (ASCII letters, digits and \"_\", not starting with a digit)"},
        {"1A", "\"1A\" is not a C identifier (ASCII letters, digits and \"_\", not starting with a digit)"},
        {"A-B", "\"A-B\" is not a C identifier (ASCII letters, digits and \"_\", not starting with a digit)"},
        {" A", "\" A\" is not a C identifier (ASCII letters, digits and \"_\", not starting with a digit)"},
        {"_x", "\"_x\" starts with \"_\" or contains \"__\"; such names belong to the compiler"},
        {"a__b", "\"a__b\" starts with \"_\" or contains \"__\"; such names belong to the compiler"},
        {"int", "\"int\" is a C or C++ keyword"},
        {"class", "\"class\" is a C or C++ keyword"},
        {"bool", "\"bool\" is a C or C++ keyword"},  // also a macro of <stdbool.h>: the keyword says it better
        {"uint8_t", "\"uint8_t\" is a name that <stdint.h> defines or may define"},
        {"my_t", "\"my_t\" is a name that <stdint.h> defines or may define"},
        {"INT8_MAX", "\"INT8_MAX\" is a name that <stdint.h> defines or may define"},
        {"UINT_LEAST16_C", "\"UINT_LEAST16_C\" is a name that <stdint.h> defines or may define"},
        {"SIZE_MAX", "\"SIZE_MAX\" is a name that <stdint.h> defines or may define"},
        {"main", "\"main\" is the name of the program's entry function"},
        {"HARFCODE_STRINGS_H", "\"HARFCODE_STRINGS_H\" is a macro of the header itself"},
        {"PROGMEM", "\"PROGMEM\" is a macro of the header itself"},
        {"printf", "\"printf\" is a C library function, which every program may use"},
        {"index", "\"index\" is a C library function, which every program may use"},  // GNU C's <strings.h>
        {"y0", "\"y0\" is a C library function, which every program may use"},
        {"linux", "\"linux\" is predefined by GCC"},
        {"AVR", "\"AVR\" is predefined by GCC"},
        {"NULL", "\"NULL\" is a macro of <stddef.h>"},
        {"errno", "\"errno\" is a macro of <errno.h>"},
        {"INT_MAX", "\"INT_MAX\" is a macro of <limits.h>"},
        {"noreturn", "\"noreturn\" is a macro of <stdnoreturn.h>"},
        {"I", "\"I\" is a macro of <complex.h>"},
        {"PORTB", "\"PORTB\" is a macro of <avr/io.h>"},
        {"CLONE_VM", "\"CLONE_VM\" is a macro of <complex.h> in C++"},
        {"FILE", "\"FILE\" is a type of <stdio.h>"},
        {"tzname", "\"tzname\" is a variable of <time.h>"},
        {"memory_order_relaxed", "\"memory_order_relaxed\" is a constant of <stdatomic.h>"},
        {"std", "\"std\" is a namespace of the C++ library"},
        // Near the refused names, and names the headers use without breaking the build: a
        // struct tag, a macro with parameters, a macro that only renames.
        {"ok_", ""}, {"INTERVAL_MAX", ""}, {"Printf", ""}, {"printf_", ""}, {"INT", ""}, {"AAA", ""},
        {"zzzz", ""}, {"tm", ""}, {"assert", ""}, {"XL", ""}, {"HARFCODE_STRINGS", ""},
    };
    for (const auto& [name, refusal] : cases)
        EXPECT_EQ(nameProblem(QString::fromUtf8(name), headerMacros).value_or(QString()).toStdString(), refusal) << name;
}

// The search finds every name of the list, the first and the last as well.
TEST(CNames, FindsEveryReservedName)
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
