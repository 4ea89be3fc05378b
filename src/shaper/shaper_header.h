#pragma once

#include "shaper/shaper_tables.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace harfcode {

struct ShaperSettings {
    QString program;      // name and version
    QString commandLine;
    QString tablePath;
    QString prefix;       // of every name the header defines; its macros upper-cased
    bool progmem = false; // the tables in flash on AVR, read with pgm_read_byte()
};

// The firmware's shaper as one C header with the codes of `codes` baked in: valid C99 and
// C++11, its functions declared in every file that includes it and defined where
// PREFIX_SHAPER_IMPLEMENTATION is defined before the include.
QByteArray shaperHeader(const SlotCodes& codes, const ShaperSettings& settings);

// Every name the header defines with `prefix`: its types, functions, tables and macros.
QStringList shaperNames(const QString& prefix);

inline constexpr char kDefaultShaperPrefix[] = "harfcode";

}  // namespace harfcode
