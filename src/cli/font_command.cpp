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

#include <algorithm>
#include <iterator>

namespace harfcode {

std::unique_ptr<RenderedFont> renderFont(const FontRequest& request, const CodeStrings& codes, const QString& fontFolder,
                                         const std::function<void(const QString&)>& printError)
{
    const auto refuse = [&](const UnusableFont& unusable) {
        printError(unusable.description() + u'.');
        return nullptr;
    };
    auto rendered = std::make_unique<RenderedFont>();
    auto read = readFont(request.font, fontFolder);
    if (const auto* unusable = std::get_if<UnusableFont>(&read))
        return refuse(*unusable);
    rendered->file = std::get<ReadFont>(std::move(read));
    auto opened = openReadFont(rendered->file, request.pixelSize);
    if (const auto* unusable = std::get_if<UnusableFont>(&opened))
        return refuse(*unusable);
    rendered->opened = std::get<OpenedFont>(std::move(opened));
    const FontFace& face = *rendered->opened.face;
    printError(QStringLiteral("font: %1 (%2, %3 px)").arg(rendered->opened.path, face.family()).arg(face.pixelSize()));

    auto font = displayFont(face, codes, request.settings.hinting);
    if (const auto* error = std::get_if<DisplayFontError>(&font)) {
        for (const QString& description :
             error->descriptions(QStringLiteral("fill in your display's codes, or make a table with --new-table")))
            printError(description + u'.');
        if (!error->missingGlyphs.empty() && namesAFontFile(request.font))
            if (const std::optional<QString> note = collectionFacesNote(rendered->file.bytes, face, codes,
                                                                        request.settings.hinting))
                printError(QStringLiteral("the font file %1.").arg(*note));
        printError(QStringLiteral("nothing is written."));
        return nullptr;
    }
    rendered->font = std::get<DisplayFont>(std::move(font));
    return rendered;
}

QString RenderedFont::description(Hinting hinting) const
{
    return QStringLiteral("%1, %2 px, hinting %3")
        .arg(opened.path)
        .arg(opened.face->pixelSize())
        .arg(QLatin1StringView(std::find_if(std::begin(kHintingNames), std::end(kHintingNames),
                                            [hinting](const auto& named) { return named.first == hinting; })
                                   ->second));
}

int writeDisplayFont(const FontCommand& command, const std::function<void(const QString&)>& printError)
{
    const FontRequest& request = command.request;
    const std::unique_ptr<RenderedFont> rendered = renderFont(request, command.codes, command.fontFolder, printError);
    if (!rendered)
        return kExitInvalidInput;
    const QString& fontFile = rendered->opened.path;
    const FontFace& face = *rendered->opened.face;
    const DisplayFont& font = rendered->font;
    const FontExportSource source{QStringLiteral("harfcode-cli " HARFCODE_VERSION), command.commandLine, fontFile,
                                  face.family(), face.copyright(), face.pixelSize()};
    const FontExportSettings& settings = request.settings;
    const ExportedFont exported = exportedFont(settings, face, font, source, command.codes);
    for (const QString& warning : exportWarnings(font, settings.format, face.pixelSize(), exported))
        printError(QStringLiteral("warning: %1.").arg(warning));
    if (settings.format == FontFormat::Png && settings.sample)
        ConversionWarnings(warningPrinter(printError)).noteCharactersWithoutSlot(settings.sample->text, 1, 0);
    if (const auto* failure = std::get_if<FontExportFailure>(&exported.bytes)) {
        switch (failure->kind) {
        case FontExportFailure::Kind::FieldOverflow:
            printError(failure->reason + QStringLiteral("; take a smaller --size."));
            break;
        case FontExportFailure::Kind::TooWide:
            printError(failure->reason + QStringLiteral("; take a wider --width or a smaller --size."));
            break;
        case FontExportFailure::Kind::Picture:
            printError(QStringLiteral("cannot draw the picture: %1.").arg(failure->reason));
            break;
        }
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
