#pragma once

#include <QByteArray>

namespace harfcode {

// A C header for firmware whose arrays are declared in every file that includes it and defined
// only in the one file that defines `implementationMacro` before including it, so that a
// program of several files, C and C++ alike, holds them once.
struct CHeaderParts {
    QByteArray comment;  // the whole opening comment
    QByteArray guard;    // of the declarations
    QByteArray definitionsGuard;
    QByteArray implementationMacro;
    bool progmem = false;      // <avr/pgmspace.h> on AVR, PROGMEM defined empty elsewhere
    QByteArray declarations;   // each part starting with an empty line
    QByteArray definitions;    // the same
};

// The header's text: <stdint.h>, the declarations and the definitions in extern "C".
QByteArray cHeader(const CHeaderParts& parts);

}  // namespace harfcode
