// harfcode-cli: the conversion of the windows for build scripts and firmware, and for checking
// the shaping without a window. Reads the table, never writes it.

#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/font_command.h"
#include "cli/header_command.h"
#include "cli/shaper_command.h"
#include "cli/standard_streams.h"
#include "cli/system_streams.h"
#include "cli/warning_messages.h"
#include "conversion/character_names.h"
#include "font/font_lookup.h"
#include "lines/line_converter.h"
#include "lines/utf8_decoder.h"
#include "table/table_file.h"
#include "table/table_location.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <exception>

using namespace harfcode;

namespace {

// Names, texts and paths in messages come from files that anybody may have written.
void printError(const QString& message)
{
    writeStandardStream(stderr, QStringLiteral("harfcode-cli: %1\n").arg(withControlsSpelledOut(message)).toUtf8());
}

// Qt decodes the command line without complaint, turning broken bytes into U+FFFD; the
// text must not be converted silently wrong, so the raw arguments are checked first. Windows
// passes the arguments as UTF-16, which Qt reads as they are; there `argv` holds them in the
// ANSI code page, where anything else is a question mark, and nothing needs checking.
int firstArgumentNotUtf8(int argc, char** argv)
{
#ifdef Q_OS_WIN
    Q_UNUSED(argc);
    Q_UNUSED(argv);
#else
    Utf8Decoder decoder;
    for (int i = 1; i < argc; ++i)
        if (!decoder.decode(QByteArrayView(argv[i])))
            return i;
#endif
    return 0;
}

std::optional<CodeStrings> loadCodes(const QString& path, Pipes pipes)
{
    const TableReading reading = readTableFile(path, pipes);
    if (!reading.ok()) {
        printError(reading.error->message());
        return std::nullopt;
    }
    if (reading.hasSurplusLines)
        printError(QStringLiteral("warning: %1 The lines after line %2 are ignored.")
                       .arg(surplusLinesSentence(path))
                       .arg(kSlotCount));
    CodeStrings codes;
    overlayCodes(codes, reading.codes);
    return codes;
}

int convertLines(const CliRequest& request, const CodeStrings& codes, ConversionWarnings& warnings, bool outputClosed)
{
    int status = kExitDone;
    OutputBuffer output(stdout, outputClosed ? EBADF : 0);
    LineConverter converter(request.line, codes, warnings);
    const auto convert = [&](QByteArrayView line, long number) {
        const std::optional<SkippedLine> skipped = converter.convert(line, number, output);
        if (!skipped)
            return;
        status = kExitInvalidInput;
        if (skipped->invalidCode)
            printError(QStringLiteral("line %1: %2; the line is skipped.").arg(number).arg(skipped->invalidCode->description()));
        else
            printError(QStringLiteral("line %1 is not valid UTF-8; it is skipped.").arg(number));
    };

    if (request.text) {
        convert(request.text->toUtf8(), 1);
    } else {
        LineReader input(output);
        long lineNumber = 0;
        while (const std::optional<QByteArrayView> line = input.next())
            convert(*line, ++lineNumber);
        if (input.failed()) {
            printError(QStringLiteral("cannot read standard input: %1").arg(input.errorReason()));
            status = kExitInputOutput;
        }
    }
    return finishOutput(output, printError, status);
}

// The command line as typed, for the header's comment: the program by its name, arguments
// quoted where a shell would need it.
QString typedCommandLine(QStringList arguments)
{
    arguments.first() = QStringLiteral("harfcode-cli");
    for (QString& argument : arguments) {
        static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./=:,+-]+$"));
        if (!plain.match(argument).hasMatch())
            argument = u'\'' + QString(argument).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
    }
    return arguments.join(u' ');
}

}  // namespace

int run(int argc, char** argv)
{
    const bool outputClosed = prepareStandardStreams();
    const int brokenArgument = firstArgumentNotUtf8(argc, argv);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("harfcode-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HARFCODE_VERSION));

    if (brokenArgument != 0) {
        printError(QStringLiteral("argument %1 is not valid UTF-8.").arg(brokenArgument));
        return kExitInvalidInput;
    }

    const QString defaultTablePath = tableLocation(
        QCoreApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    const auto parsed = parseCommandLine(QCoreApplication::arguments(), defaultTablePath, standardOutputIsTerminal());
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        printError(usage->message);
        writeStandardStream(stderr, "Try 'harfcode-cli --help' for more information.\n");
        return kExitUsage;
    }
    if (const auto* answer = std::get_if<PrintedAnswer>(&parsed)) {
        OutputBuffer output(stdout, outputClosed ? EBADF : 0);
        output.append(answer->text.toUtf8());
        return finishOutput(output, printError, kExitDone);
    }
    const CliRequest& request = std::get<CliRequest>(parsed);
    if (request.newTablePath) {
        // The default table goes where the windows would write it on their first start.
        if (*request.newTablePath == defaultTablePath)
            ensureTableFolder(defaultTablePath);
        return writeNewTable(*request.newTablePath, printError);
    }

    ConversionWarnings warnings(warningPrinter(printError));
    const QString tablePath = request.tablePath.value_or(defaultTablePath);
    CodeStrings codes;
    if (writesCodes(request.line.format)) {
        // A table named on the command line may come through a pipe (--table <(make-table)).
        const std::optional<CodeStrings> loaded = loadCodes(tablePath, request.tablePath ? Pipes::Allowed : Pipes::Refused);
        if (!loaded) {
            // The windows write the default table on their first start, by the same rule.
            if (!request.tablePath && !tableExists(tablePath))
                printError(QStringLiteral("start harfcode once to write the default table there, or give --table FILE."));
            return kExitTableUnreadable;
        }
        codes = *loaded;
        if (!request.font && isUnfilled(codes))
            printError(QStringLiteral("warning: every code of the table is still %1: fill in your display's codes "
                                      "in the Hex Table window first.")
                           .arg(quotedUnfilledCode()));
    }

    if (request.shaperPrefix) {
        const ShaperCommand shaper{*request.shaperPrefix, request.progmem, request.outputPath, tablePath, codes,
                                   typedCommandLine(QCoreApplication::arguments()), outputClosed};
        return writeShaper(shaper, printError);
    }
    if (request.font && !request.stringsPath) {
        const FontCommand font{*request.font, request.outputPath, tablePath, codes,
                               typedCommandLine(QCoreApplication::arguments()), extraFontFolder(),
                               outputClosed};
        return writeDisplayFont(font, printError);
    }

    if (request.stringsPath) {
        const HeaderRequest header{*request.stringsPath, request.outputPath, tablePath, codes, request.line.order,
                                   request.line.width, request.progmem, typedCommandLine(QCoreApplication::arguments()),
                                   outputClosed, request.font, request.pixelWidth, extraFontFolder()};
        return writeStringsHeader(header, warnings, printError);
    }
    return convertLines(request, codes, warnings, outputClosed);
}

int main(int argc, char** argv)
{
    // Whatever escapes is a fault of the program, not of its input: said, never an abort.
    try {
        return run(argc, argv);
    } catch (const std::exception& exception) {
        printError(QStringLiteral("internal error: %1").arg(QString::fromLocal8Bit(exception.what())));
    } catch (...) {
        printError(QStringLiteral("internal error"));
    }
    return kExitInternalError;
}
