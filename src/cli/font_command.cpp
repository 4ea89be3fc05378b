#include "cli/font_command.h"

#include "cli/exit_status.h"
#include "cli/standard_streams.h"
#include "cli/warning_messages.h"
#include "font/collection_faces.h"
#include "font/display_font.h"
#include "font/export_warnings.h"
#include "font/font_export.h"
#include "font/font_lookup.h"
#include "table/new_display_codes.h"
#include "table/table_file.h"
#include "table/unfilled_table.h"

namespace harfcode {

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
    const FontExportSource source{QStringLiteral("harfcode-cli " HARFCODE_VERSION), command.commandLine, fontFile,
                                  face.family(), face.copyright(), face.pixelSize()};
    const FontExportSettings& settings = request.settings;
    const ExportedFont exported = exportedFont(settings, face, font, source, command.codes);
    for (const QString& warning : exportWarnings(font, settings.format, face.pixelSize(), exported))
        printError(QStringLiteral("warning: %1.").arg(warning));
    if (settings.format == FontFormat::Png && settings.sample)
        ConversionWarnings(warningPrinter(printError)).noteCharactersWithoutSlot(settings.sample->text, 1, 0);
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
