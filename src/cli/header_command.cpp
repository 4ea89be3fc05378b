#include "cli/header_command.h"

#include "cli/exit_status.h"
#include "cli/font_command.h"
#include "cli/standard_streams.h"
#include "firmware/strings_header.h"
#include "files/file_access.h"
#include "font/glyph_measure.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace harfcode {

int writeStringsHeader(const HeaderRequest& request, ConversionWarnings& warnings,
                       const std::function<void(const QString&)>& printError)
{
    const auto readFailure = [&](const QString& reason) {
        printError(QStringLiteral("cannot read the strings file \"%1\": %2.").arg(request.stringsPath, reason));
        return kExitInvalidInput;
    };
    // As the table named on the command line: a regular file or a pipe, never a device or folder.
    auto opened = openForReading(request.stringsPath, Pipes::Allowed);
    if (const QString* reason = std::get_if<QString>(&opened))
        return readFailure(*reason);
    QFile& stringsFile = *std::get<std::unique_ptr<QFile>>(opened);
    const QByteArray bytes = stringsFile.readAll();
    if (stringsFile.error() != QFileDevice::NoError)
        return readFailure(stringsFile.errorString());

    // Written to standard output, the header is named after the strings file it comes from.
    const QString headerPath = request.outputPath.isEmpty() ? request.stringsPath : request.outputPath;
    HeaderSettings settings{QStringLiteral("harfcode-cli " HARFCODE_VERSION), request.commandLine, request.tablePath,
                            headerGuards(QFileInfo(headerPath).fileName()), request.order, request.width,
                            request.progmem, std::nullopt};
    std::unique_ptr<RenderedFont> font;
    if (request.font) {
        font = renderFont(*request.font, request.codes, request.fontFolder, printError);
        if (!font)
            return kExitInvalidInput;
        settings.pixelRows = PixelRowSettings{request.pixelWidth, glyphMeasure(font->font, request.codes),
                                              font->description(request.font->settings.hinting)};
    }
    const auto made = stringsHeaderOf(bytes, request.codes, settings, [&](const StringsEntry& entry) {
        warnings.noteCharactersWithoutSlot(entry.text, entry.line, entry.charactersBeforeText);
    });
    if (const auto* errors = std::get_if<std::vector<StringsFileError>>(&made)) {
        for (const StringsFileError& error : *errors)
            printError(error.message(request.stringsPath));
        return kExitInvalidInput;
    }
    const WholeOutput output{request.outputPath, QStringLiteral("the header \"%1\"").arg(request.outputPath),
                             {request.stringsPath, request.tablePath}, request.standardOutputClosed};
    return writeWholeOutput(output, std::get<QByteArray>(made), printError);
}

}  // namespace harfcode
