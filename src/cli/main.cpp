// harfcode-cli: the conversion of the windows for build scripts and for checking the
// shaping without a window. Reads the table, never writes it.

#include "cli/line_conversion.h"
#include "table/table_file.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringDecoder>

#include <cstdio>
#include <iostream>
#include <string>

using namespace harfcode;

namespace {

// Exit statuses, also listed in --help.
constexpr int kExitInvalidText = 1;
constexpr int kExitTableUnreadable = 2;
constexpr int kExitUsage = 64;

void printError(const QString& message)
{
    std::fputs(qPrintable(QStringLiteral("harfcode-cli: %1\n").arg(message)), stderr);
}

void printLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

std::optional<QString> decodeUtf8(const std::string& bytes)
{
    // Stateless: an incomplete sequence at the end is an error too, not held back.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Qt decodes the command line without complaint, turning broken bytes into U+FFFD; the
// text must not be converted silently wrong, so the raw arguments are checked first.
int firstArgumentNotUtf8(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (!decodeUtf8(argv[i]))
            return i;
    return 0;
}

std::optional<CodeStrings> loadCodes(const QString& path)
{
    const TableReading reading = readTableFile(path);
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

// Converts every line of standard input; its LF or CR LF is not part of the text.
int convertStandardInput(CliOutput output, const CodeStrings& codes)
{
    int status = 0;
    std::string line;
    for (long lineNumber = 1; std::getline(std::cin, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::optional<QString> text = decodeUtf8(line);
        if (!text) {
            printError(QStringLiteral("line %1 is not valid UTF-8; it is skipped.").arg(lineNumber));
            status = kExitInvalidText;
            continue;
        }
        printLine(convertLine(*text, output, codes));
    }
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    const int brokenArgument = firstArgumentNotUtf8(argc, argv);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("harfcode-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HARFCODE_VERSION));

    if (brokenArgument != 0) {
        printError(QStringLiteral("argument %1 is not valid UTF-8.").arg(brokenArgument));
        return kExitInvalidText;
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts Persian text to the glyph codes of the table file, as the Harfcode window does.\n"
        "Without TEXT, converts every line of standard input, one output line per input line.\n"
        "\n"
        "Exit status: 0 done; 1 some input text is not valid UTF-8 (its line is skipped);\n"
        "2 the table cannot be read; 64 wrong usage."));
    const QCommandLineOption tableOption(
        QStringLiteral("table"),
        QStringLiteral("The glyph code table to use (default: HexTable.txt beside this program)."),
        QStringLiteral("FILE"));
    const QCommandLineOption reverseOption(
        QStringLiteral("reverse"), QStringLiteral("Print the codes from the last character to the first (\"Persian Hex\")."));
    const QCommandLineOption slotsOption(
        QStringLiteral("slots"),
        QStringLiteral("Print the slot number of every character, \"-\" for none; reads no table."));
    parser.addOptions({tableOption, reverseOption, slotsOption});
    parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("The text to convert (UTF-8)."),
                                 QStringLiteral("[TEXT]"));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();

    const auto usageError = [](const QString& message) {
        printError(message + QStringLiteral("\nTry 'harfcode-cli --help' for more information."));
        return kExitUsage;
    };
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    if (parser.isSet(versionOption))
        parser.showVersion();
    if (parser.isSet(reverseOption) && parser.isSet(slotsOption))
        return usageError(QStringLiteral("--reverse and --slots cannot be combined."));
    const QStringList texts = parser.positionalArguments();
    if (texts.size() > 1)
        return usageError(QStringLiteral("give the text as one argument (quote it)."));

    const CliOutput output = parser.isSet(slotsOption)     ? CliOutput::Slots
                             : parser.isSet(reverseOption) ? CliOutput::ReverseOrder
                                                           : CliOutput::TypingOrder;
    CodeStrings codes;
    if (output != CliOutput::Slots) {
        const QString tablePath = parser.isSet(tableOption)
                                      ? parser.value(tableOption)
                                      : QCoreApplication::applicationDirPath() + QStringLiteral("/HexTable.txt");
        const std::optional<CodeStrings> loaded = loadCodes(tablePath);
        if (!loaded)
            return kExitTableUnreadable;
        codes = *loaded;
    }

    if (texts.isEmpty())
        return convertStandardInput(output, codes);
    printLine(convertLine(texts.first(), output, codes));
    return 0;
}
