#include "cli/font_command.h"

#include "cli/exit_status.h"
#include "cli/standard_streams.h"
#include "cli/conversion_warnings.h"
#include "firmware/strings_header.h"
#include "font/bdf_format.h"
#include "font/display_font.h"
#include "font/font_lookup.h"
#include "font/font_pictures.h"
#include "font/png_format.h"
#include "table/new_display_codes.h"
#include "table/system_files.h"
#include "table/table_file.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>

namespace harfcode {
namespace {

QString codeList(const std::vector<Slot>& slots)
{
    QStringList names;
    for (const Slot slot : slots)
        names.append(QString::number(slot));
    return names.join(QStringLiteral(", "));
}

void warnOfLeftOutGlyphs(const DisplayFont& font, const std::function<void(const QString&)>& printError)
{
    if (font.unfilledSlots > 0)
        printError(QStringLiteral("warning: %1 slot(s) still have the code \"00\"; their glyphs are left out.")
                       .arg(font.unfilledSlots));
    for (const SharedCode& shared : font.sharedCodes)
        printError(QStringLiteral("warning: code %1 is the code of slots %2 and %3: it holds the glyph of slot %2.")
                       .arg(QString::asprintf("%02X", shared.code))
                       .arg(shared.stored)
                       .arg(codeList(shared.others)));
}

int writeOutput(const FontCommand& command, const QByteArray& bytes, const QString& fontFile,
                const std::function<void(const QString&)>& printError)
{
    if (command.outputPath.isEmpty()) {
        OutputBuffer output(stdout, command.standardOutputClosed ? EBADF : 0);
        output.append(bytes);
        return finishOutput(output, printError, kExitDone);
    }
    const FileReplacement written = replaceFileAtomically(command.outputPath, bytes, {command.tablePath, fontFile});
    if (written.notKept)
        printError(QStringLiteral("warning: \"%1\" could not keep %2.").arg(command.outputPath, *written.notKept));
    if (written.failure) {
        printError(QStringLiteral("cannot write \"%1\": %2.").arg(command.outputPath, *written.failure));
        return kExitInvalidInput;
    }
    return kExitDone;
}

// The picture that --font-format png asks for, the text of --sample or the glyph sheet, as a PNG
// file; or why there is none.
std::variant<QByteArray, QString> fontPng(const FontCommand& command, const FontFace& face, const DisplayFont& font,
                                          const FontExportSource& source,
                                          const std::function<void(const QString&)>& printError)
{
    const FontRequest& request = command.request;
    std::variant<QImage, QString> picture;
    if (const std::optional<SampleRequest>& sample = request.sample) {
        ConversionWarnings(printError).noteCharactersWithoutSlot(sample->text, 1, 0);
        // displayFont() has found every code a byte: the rows are whole.
        picture = sampleText(font, entryCodes(sample->text, command.codes, sample->order, sample->width).rows,
                             request.zoom);
    } else {
        const HexDigitGlyphs labels = hexDigitGlyphs(face, request.hinting);
        if (!labels.missing.isEmpty())
            printError(QStringLiteral("warning: the font has no glyph for \"%1\"; the sheet labels the codes with "
                                      "small digits of its own.")
                           .arg(labels.missing));
        picture = glyphSheet(font, labels, request.zoom);
    }
    if (const QString* reason = std::get_if<QString>(&picture))
        return *reason;
    return pngFile(std::get<QImage>(std::move(picture)), source);
}

}  // namespace

int writeDisplayFont(const FontCommand& command, const std::function<void(const QString&)>& printError)
{
    const FontRequest& request = command.request;
    const auto found = findFont(request.font, command.fontFolder);
    if (const QString* reason = std::get_if<QString>(&found)) {
        printError(QStringLiteral("cannot use the font \"%1\": %2.").arg(request.font, *reason));
        return kExitInvalidInput;
    }
    const QString fontFile = std::get<FontFile>(found).path;
    auto opened = FontFace::open(fontFile, request.pixelSize);
    if (const QString* reason = std::get_if<QString>(&opened)) {
        printError(QStringLiteral("cannot use the font \"%1\": %2.").arg(fontFile, *reason));
        return kExitInvalidInput;
    }
    const FontFace& face = *std::get<std::unique_ptr<FontFace>>(opened);
    printError(QStringLiteral("font: %1 (%2, %3 px)").arg(fontFile, face.family()).arg(face.pixelSize()));

    const auto rendered = displayFont(face, command.codes, request.hinting);
    if (const auto* error = std::get_if<DisplayFontError>(&rendered)) {
        for (const QString& description : error->descriptions())
            printError(description + u'.');
        printError(QStringLiteral("nothing is written."));
        return kExitInvalidInput;
    }
    const DisplayFont& font = std::get<DisplayFont>(rendered);
    warnOfLeftOutGlyphs(font, printError);

    const FontExportSource source{QStringLiteral("harfcode-cli " HARFCODE_VERSION), command.commandLine, fontFile,
                                  face.family(), face.copyright(), face.pixelSize()};
    QByteArray bytes;
    switch (request.format) {
    case FontFormat::Bdf:
        bytes = bdfFont(font, source);
        break;
    case FontFormat::Png: {
        auto png = fontPng(command, face, font, source, printError);
        if (const QString* reason = std::get_if<QString>(&png)) {
            printError(QStringLiteral("cannot draw the picture: %1; nothing is written.").arg(*reason));
            return kExitInvalidInput;
        }
        bytes = std::get<QByteArray>(std::move(png));
        break;
    }
    }
    return writeOutput(command, bytes, fontFile, printError);
}

int writeNewTable(const QString& path, const std::function<void(const QString&)>& printError)
{
    if (tableExists(path)) {
        const TableReading reading = readTableFile(path);
        if (!reading.ok()) {
            printError(reading.error->message() + QStringLiteral(" It is left as it is."));
            return kExitTableUnreadable;
        }
        CodeStrings existing = defaultCodeStrings();
        overlayCodes(existing, reading.codes);
        if (!isUnfilled(existing)) {
            printError(QStringLiteral("the table \"%1\" has codes filled in already; it is left as it is. "
                                      "Give another file to --new-table.")
                           .arg(path));
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
