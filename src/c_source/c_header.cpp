#include "c_source/c_header.h"

namespace harfcode {
namespace {

const char kOpenExternC[] = "#ifdef __cplusplus\nextern \"C\" {\n#endif\n";
const char kCloseExternC[] = "#ifdef __cplusplus\n}\n#endif\n";

}  // namespace

QByteArray cHeader(const CHeaderParts& parts)
{
    QByteArray out = parts.comment;
    out += "#ifndef " + parts.guard + "\n#define " + parts.guard + "\n\n#include <stdint.h>\n";
    if (parts.progmem)
        out += "\n#ifdef __AVR__\n#include <avr/pgmspace.h>\n#endif\n#ifndef PROGMEM\n#define PROGMEM\n#endif\n";
    out += QByteArray("\n") + kOpenExternC + parts.declarations;
    out += QByteArray("\n") + kCloseExternC + "\n#endif /* " + parts.guard + " */\n";

    // After the include guard, so that a file that got the declarations through another
    // header still gets the definitions; their own guard keeps them from being repeated.
    out += "\n#if defined(" + parts.implementationMacro + ") && !defined(" + parts.definitionsGuard + ")\n";
    out += "#define " + parts.definitionsGuard + "\n\n" + kOpenExternC + parts.definitions;
    out += QByteArray("\n") + kCloseExternC + "\n#endif /* " + parts.implementationMacro + " */\n";
    return out;
}

}  // namespace harfcode
