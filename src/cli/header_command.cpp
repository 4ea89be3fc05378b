#include "cli/header_command.h"

#include "cli/exit_status.h"
#include "cli/standard_streams.h"
#include "firmware/strings_file.h"
#include "firmware/strings_header.h"
#include "files/file_access.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
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
                            request.progmem};
    StringsFile parsed = parseStringsFile(bytes, headerMacros(settings.guards));

    std::vector<HeaderEntry> entries;
    for (StringsEntry& entry : parsed.entries) {
        warnings.noteCharactersWithoutSlot(entry.text, entry.line, entry.charactersBeforeText);
        EntryCodes codes = entryCodes(entry.text, request.codes, request.order, request.width);
        if (codes.invalid)
            parsed.errors.push_back({entry.line, codes.invalid->description()});
        else
            entries.push_back({std::move(entry), std::move(codes.rows)});
    }
    if (!parsed.errors.empty()) {
        std::stable_sort(parsed.errors.begin(), parsed.errors.end(),
                         [](const StringsFileError& a, const StringsFileError& b) { return a.line < b.line; });
        for (const StringsFileError& error : parsed.errors)
            printError(error.message(request.stringsPath));
        return kExitInvalidInput;
    }

    const QByteArray header = stringsHeader(entries, settings);
    if (request.outputPath.isEmpty()) {
        OutputBuffer output(stdout, request.standardOutputClosed ? EBADF : 0);
        output.append(header);
        return finishOutput(output, printError, kExitDone);
    }
    const FileReplacement written = replaceFileAtomically(request.outputPath, header, {request.stringsPath, request.tablePath});
    if (written.notKept)
        printError(QStringLiteral("warning: the header \"%1\" could not keep %2.").arg(request.outputPath, *written.notKept));
    if (const std::optional<QString>& reason = written.failure) {
        printError(QStringLiteral("cannot write the header \"%1\": %2.").arg(request.outputPath, *reason));
        return kExitInvalidInput;
    }
    return kExitDone;
}

}  // namespace harfcode
