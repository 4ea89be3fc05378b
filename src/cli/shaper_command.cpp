#include "cli/shaper_command.h"

#include "cli/exit_status.h"
#include "cli/standard_streams.h"
#include "c_source/c_bytes.h"
#include "conversion/code_output.h"
#include "shaper/shaper_header.h"

namespace harfcode {

int writeShaper(const ShaperCommand& command, const std::function<void(const QString&)>& printError)
{
    const CodeUsage usage = codeUsage(command.codes);
    // The shaper may meet any glyph at run time: every code must be a byte.
    if (!usage.invalidCodes.empty()) {
        for (const InvalidCode& invalid : usage.invalidCodes)
            printError(QStringLiteral("the table \"%1\": %2.").arg(command.tablePath, invalid.description()));
        printError(QStringLiteral("nothing is written."));
        return kExitInvalidInput;
    }
    if (usage.unfilledSlots == 1)
        printError(QStringLiteral("warning: 1 slot still has the code %1; the shaper gives its glyph that code.")
                       .arg(quotedUnfilledCode()));
    else if (usage.unfilledSlots > 1)
        printError(QStringLiteral("warning: %1 slots still have the code %2; the shaper gives their glyphs that code.")
                       .arg(usage.unfilledSlots)
                       .arg(quotedUnfilledCode()));
    for (const auto& [code, slots] : usage.slotsOfCode)
        if (slots.size() > 1)
            printError(QStringLiteral("warning: slots %1 share the code %2: the display shows one glyph for them.")
                           .arg(slotNumbers(slots), QString::fromLatin1(hexCode(code))));
    SlotCodes bytes{};
    for (int slot = 1; slot <= kSlotCount; ++slot)
        bytes[std::size_t(slot - 1)] = *codeByte(command.codes[std::size_t(slot - 1)]);
    const ShaperSettings settings{QStringLiteral("harfcode-cli " HARFCODE_VERSION), command.commandLine,
                                  command.tablePath, command.prefix, command.progmem};
    const WholeOutput output{command.outputPath, QStringLiteral("the shaper \"%1\"").arg(command.outputPath),
                             {command.tablePath}, command.standardOutputClosed};
    return writeWholeOutput(output, shaperHeader(bytes, settings), printError);
}

}  // namespace harfcode
