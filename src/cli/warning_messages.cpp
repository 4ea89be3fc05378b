#include "cli/warning_messages.h"

#include "conversion/character_names.h"

#include <QChar>

#include <utility>

namespace harfcode {
namespace {

QString warningMessage(const ConversionWarning& warning)
{
    switch (warning.kind) {
    case ConversionWarning::Kind::CharacterWithoutGlyph: {
        const char32_t character = warning.character;
        const QString shown = QChar::isPrint(character) ? QStringLiteral(" \"%1\"").arg(QString::fromUcs4(&character, 1))
                                                        : QString();
        return QStringLiteral("warning: line %1, character %2: %3%4 has no glyph; it is left out.")
            .arg(warning.line)
            .arg(warning.position)
            .arg(codePointName(character), shown);
    }
    case ConversionWarning::Kind::ZeroInCString:
        break;
    }
    return QStringLiteral("warning: a code \"00\" is written into a C string, where the byte 0x00 ends the string "
                          "early; --format c-array keeps every byte.");
}

}  // namespace

ConversionWarnings::Sink warningPrinter(std::function<void(const QString&)> print)
{
    return [print = std::move(print)](const ConversionWarning& warning) { print(warningMessage(warning)); };
}

}  // namespace harfcode
