#include "cli/font_command.h"

#include "cli/exit_status.h"
#include "cli/standard_streams.h"
#include "cli/warning_messages.h"
#include "font/collection_faces.h"
#include "font/display_font.h"
#include "font/font_export.h"
#include "font/font_lookup.h"
#include "font/gfx_font_format.h"
#include "table/new_display_codes.h"
#include "table/table_file.h"
#include "table/unfilled_table.h"

namespace harfcode {
namespace {

void warnOfLeftOutGlyphs(const DisplayFont& font, const std::function<void(const QString&)>& printError)
{
    if (font.unfilledSlots > 0)
        printError(font.unfilledSlots == 1
                       ? QStringLiteral("warning: 1 slot still has the code %1; its glyph is left out.").arg(quotedUnfilledCode())
                       : QStringLiteral("warning: %1 slots still have the code %2; their glyphs are left out.")
                             .arg(font.unfilledSlots)
                             .arg(quotedUnfilledCode()));
    for (const SharedCode& shared : font.sharedCodes)
        printError(QStringLiteral("warning: %1.").arg(shared.description()));
}

void warnOfInklessGlyphs(const DisplayFont& font, int pixelSize, const std::function<void(const QString&)>& printError)
{
    if (font.inklessSlots.empty())
        return;
    QStringList slots;
    for (const Slot slot : font.inklessSlots)
        slots.append(slotName(slot));
    printError(QStringLiteral("warning: at %1 px with this hinting the glyphs of %2 have no ink; they are drawn empty.")
                   .arg(pixelSize)
                   .arg(slots.join(QStringLiteral(", "))));
}

void warnOfGfxLineEnds(const DisplayFont& font, const std::function<void(const QString&)>& printError)
{
    for (const std::uint8_t code : kGfxLineEndCodes)
        if (const DisplayGlyph* glyph = font.glyphAt(code))
            printError(QStringLiteral("warning: Adafruit_GFX::write() takes code 0A as a line end and skips 0D: "
                                      "the glyph of %1 at code %2 is never drawn.")
                           .arg(slotName(glyph->slot), QString::fromLatin1(hexCode(code))));
}

}  // namespace

int writeDisplayFont(const FontCommand& command, const std::function<void(const QString&)>& printError)
{
    const FontRequest& request = command.request;
    const auto refuse = [&](const UnusableFont& unusable) {
        printError(unusable.description() + u'.');
        return kExitInvalidInput;
    };
    const auto read = readFont(request.font, command.fontFolder);
    if (const auto* unusable = std::get_if<UnusableFont>(&read))
        return refuse(*unusable);
    const ReadFont& fontFileRead = std::get<ReadFont>(read);
    const auto opened = openReadFont(fontFileRead, request.pixelSize);
    if (const auto* unusable = std::get_if<UnusableFont>(&opened))
        return refuse(*unusable);
    const QString& fontFile = std::get<OpenedFont>(opened).path;
    const FontFace& face = *std::get<OpenedFont>(opened).face;
    printError(QStringLiteral("font: %1 (%2, %3 px)").arg(fontFile, face.family()).arg(face.pixelSize()));

    const auto rendered = displayFont(face, command.codes, request.settings.hinting);
    if (const auto* error = std::get_if<DisplayFontError>(&rendered)) {
        for (const QString& description :
             error->descriptions(QStringLiteral("fill in your display's codes, or make a table with --new-table")))
            printError(description + u'.');
        if (!error->missingGlyphs.empty() && namesAFontFile(request.font))
            if (const std::optional<QString> note = collectionFacesNote(fontFileRead.bytes, face, command.codes,
                                                                        request.settings.hinting))
                printError(QStringLiteral("the font file %1.").arg(*note));
        printError(QStringLiteral("nothing is written."));
        return kExitInvalidInput;
    }
    const DisplayFont& font = std::get<DisplayFont>(rendered);
    warnOfLeftOutGlyphs(font, printError);
    warnOfInklessGlyphs(font, face.pixelSize(), printError);

    const FontExportSource source{QStringLiteral("harfcode-cli " HARFCODE_VERSION), command.commandLine, fontFile,
                                  face.family(), face.copyright(), face.pixelSize()};
    const FontExportSettings& settings = request.settings;
    if (settings.format == FontFormat::Gfx)
        warnOfGfxLineEnds(font, printError);
    if (settings.format == FontFormat::Png && settings.sample)
        ConversionWarnings(warningPrinter(printError)).noteCharactersWithoutSlot(settings.sample->text, 1, 0);
    const ExportedFont exported = exportedFont(settings, face, font, source, command.codes);
    if (!exported.missingLabelDigits.isEmpty())
        printError(QStringLiteral("warning: the font has no glyph for \"%1\"; the sheet labels the codes with "
                                  "small digits of its own.")
                       .arg(exported.missingLabelDigits));
    if (const auto* failure = std::get_if<FontExportFailure>(&exported.bytes)) {
        printError(failure->kind == FontExportFailure::Kind::FieldOverflow
                       ? failure->reason + QStringLiteral("; take a smaller --size.")
                       : QStringLiteral("cannot draw the picture: %1.").arg(failure->reason));
        printError(QStringLiteral("nothing is written."));
        return kExitInvalidInput;
    }
    const WholeOutput output{command.outputPath, u'"' + command.outputPath + u'"', {command.tablePath, fontFile},
                             command.standardOutputClosed};
    return writeWholeOutput(output, std::get<QByteArray>(exported.bytes), printError);
}

int writeNewTable(const QString& path, const std::function<void(const QString&)>& printError)
{
    if (tableExists(path)) {
        const auto lines = readTableFileLines(path);
        if (const auto* error = std::get_if<TableFileError>(&lines)) {
            printError(error->message() + QStringLiteral(" It is left as it is."));
            return kExitTableUnreadable;
        }
        if (const std::optional<QString> reason = whyNotAnUnfilledTable(std::get<QStringList>(lines))) {
            printError(QStringLiteral("the file \"%1\" %2; it is left as it is. Give another file to --new-table.")
                           .arg(path, *reason));
            return kExitInvalidInput;
        }
    }
    const TableWrite written = writeTableFile(path, newDisplayCodes());
    if (written.error) {
        printError(written.error->message());
        return kExitInvalidInput;
    }
    if (!written.note.isEmpty())
        printError(QStringLiteral("warning: ") + written.note);
    printError(QStringLiteral("wrote a table with a code for every glyph: %1").arg(path));
    return kExitDone;
}

}  // namespace harfcode
