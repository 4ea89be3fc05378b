#include "cli/command_line.h"

#include "c_source/c_names.h"
#include "font/font_pictures.h"
#include "font/gfx_font_format.h"
#include "layout/display_rows.h"
#include "layout/row_width.h"
#include "shaper/shaper_header.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <iterator>

namespace harfcode {
namespace {

constexpr std::pair<BitmapBits, const char*> kBitmapBitsNames[] = {{BitmapBits::Rows, "rows"}, {BitmapBits::Columns, "columns"}};

template <typename Value, std::size_t N>
std::optional<Value> valueNamed(const std::pair<Value, const char*> (&names)[N], const QString& name)
{
    const auto found = std::find_if(std::begin(names), std::end(names),
                                    [&](const auto& named) { return name == QLatin1StringView(named.second); });
    return found == std::end(names) ? std::nullopt : std::optional<Value>(found->first);
}

// Takes the value that `option` names into `value` where it is given; the error where it names
// none of `names`.
template <typename Value, std::size_t N>
std::optional<UsageError> takeNamed(const QCommandLineParser& parser, const QCommandLineOption& option,
                                    const std::pair<Value, const char*> (&names)[N], Value& value)
{
    if (!parser.isSet(option))
        return std::nullopt;
    if (const std::optional<Value> named = valueNamed(names, parser.value(option))) {
        value = *named;
        return std::nullopt;
    }
    QStringList list;
    for (const auto& named : names)
        list.append(QLatin1StringView(named.second));
    const QString last = list.takeLast();
    return UsageError{QStringLiteral("--%1 is %2 or %3.").arg(option.names().first(), list.join(QStringLiteral(", ")), last)};
}

// Takes the whole number from `lowest` to `highest` that `option` gives into `value` where it is
// given; the error, which counts the number in `units`, where it gives none.
template <typename Target>
std::optional<UsageError> takeNumber(const QCommandLineParser& parser, const QCommandLineOption& option, int lowest,
                                     int highest, const char* units, Target& value)
{
    if (!parser.isSet(option))
        return std::nullopt;
    bool number = false;
    const int given = parser.value(option).toInt(&number);
    if (number && given >= lowest && given <= highest) {
        value = given;
        return std::nullopt;
    }
    return UsageError{QStringLiteral("--%1 takes a whole number %2from %3 to %4.")
                          .arg(option.names().first(), QLatin1StringView(units))
                          .arg(lowest)
                          .arg(highest)};
}

// --width N or --width Npx: rows of glyphs or of pixels, 1 to kMaxWidth of either.
std::optional<UsageError> takeRowWidth(const QCommandLineParser& parser, const QCommandLineOption& option,
                                       RowWidth& width)
{
    if (!parser.isSet(option))
        return std::nullopt;
    QString value = parser.value(option);
    width.pixels = value.endsWith(QLatin1StringView("px"));
    if (width.pixels)
        value.chop(2);
    bool number = false;
    width.count = value.toInt(&number);
    if (number && width.count >= 1 && width.count <= kMaxWidth)
        return std::nullopt;
    return UsageError{QStringLiteral("--width takes a whole number of glyphs from 1 to %1, or of pixels from 1px to "
                                     "%1px.")
                          .arg(kMaxWidth)};
}

// Takes the table file and the output file where they are given; the error where one is given
// empty.
std::optional<UsageError> takeFilePaths(const QCommandLineParser& parser, const QCommandLineOption& tableOption,
                                        const QCommandLineOption& outputOption, CliRequest& request)
{
    if (parser.isSet(tableOption)) {
        request.tablePath = parser.value(tableOption);
        if (request.tablePath->isEmpty())
            return UsageError{QStringLiteral("--table needs the name of a table file.")};
    }
    request.outputPath = parser.value(outputOption);
    if (parser.isSet(outputOption) && request.outputPath.isEmpty())
        return UsageError{
            QStringLiteral("--output needs the name of a file; without --output the output goes to standard output.")};
    return std::nullopt;
}

const char* const kDescription =
    "Converts Persian text to the glyph codes of the table file, as the Harfcode window does.\n"
    "Without TEXT, converts every line of standard input, one output line per input line (per\n"
    "row with --width). With --header, writes a C header of every text in a strings file.\n"
    "\n"
    "Orders: typing (\"English Hex\"), reverse (\"Persian Hex\"), visual (as a display that draws\n"
    "left to right shows the line: Persian reversed, numbers and Latin capitals left to right).\n"
    "Formats: spaced (codes joined by two blanks, as the windows show them), c-array (0xE1, 0x6B),\n"
    "c-string (\"\\xE1\\x6B\"), bytes (the raw bytes, nothing between codes or lines), glyphs\n"
    "(the glyph of every slot, a preview of the display; reads no table).\n"
    "\n"
    "Strings file for --header: UTF-8, one NAME=TEXT per line; blank lines and lines starting\n"
    "with # are skipped. The header declares every text as const uint8_t NAME[NAME_LENGTH]\n"
    "(NAME[NAME_ROWS][N] with --width N, rows right-aligned with the blank's code), in visual\n"
    "order unless --order says otherwise; define HARFCODE_STRINGS_IMPLEMENTATION in one source\n"
    "file before including it to hold the arrays there. With --font and --width Npx the rows\n"
    "are at most N pixels of the font wide, one after another in NAME[NAME_LENGTH], row r\n"
    "starting at NAME_ROW_START[r], its pen at NAME_ROW_X[r] on a display N pixels wide.\n"
    "\n"
    "With --shaper, writes a C header for the firmware that converts UTF-8 text known only at\n"
    "run time to the table's codes on the device, exactly as this converter does: in typing,\n"
    "reverse or visual order, as presentation forms, in rows of N glyphs.\n"
    "\n"
    "With --font, renders the glyph of every slot from a font file (or a family) with FreeType\n"
    "and writes the display's font, each glyph at its code in the table: a BDF font, a C header\n"
    "of bitmaps for any display (--font-format c), or an Adafruit GFX font (gfx). --new-table\n"
    "writes a table with a code for every glyph, for a display that has none yet.\n"
    "\n"
    "Exit status: 0 done; 1 some input is invalid: text that is not UTF-8, or in the byte\n"
    "formats a code that is not two hexadecimal digits (that line is skipped), an error in\n"
    "the strings file or the font, or an output that is one of the inputs; 2 the table cannot\n"
    "be read; 64 wrong usage; 70 an internal error; 74 standard input or output cannot be read\n"
    "or written; 141 standard output was closed by its reader.";

}  // namespace

std::variant<CliRequest, UsageError, PrintedAnswer> parseCommandLine(const QStringList& arguments,
                                                                     const QString& defaultTablePath,
                                                                     bool outputIsTerminal)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    const QCommandLineOption tableOption(
        QStringLiteral("table"),
        QStringLiteral("The glyph code table to use (default: %1).").arg(QDir::toNativeSeparators(defaultTablePath)),
        QStringLiteral("FILE"));
    const QCommandLineOption orderOption(
        QStringLiteral("order"),
        QStringLiteral("typing (default), reverse or visual (default with --header and --sample)."), QStringLiteral("ORDER"));
    const QCommandLineOption formatOption(
        QStringLiteral("format"), QStringLiteral("spaced (default), c-array, c-string, bytes or glyphs."),
        QStringLiteral("FORMAT"));
    const QCommandLineOption widthOption(
        QStringLiteral("width"),
        QStringLiteral("Break every text into display rows of at most N glyphs (1 to 65535), or with Npx (1px to "
                       "65535px) of at most N pixels of the --font, for --sample and --header."),
        QStringLiteral("N"));
    const QCommandLineOption reverseOption(QStringLiteral("reverse"), QStringLiteral("The same as --order reverse."));
    const QCommandLineOption slotsOption(
        QStringLiteral("slots"),
        QStringLiteral("Print the slot number of every character, \"-\" for none; reads no table."));
    const QCommandLineOption headerOption(
        QStringLiteral("header"), QStringLiteral("Write a C header of the texts in the strings file STRINGS."),
        QStringLiteral("STRINGS"));
    const QCommandLineOption outputOption(
        QStringLiteral("output"),
        QStringLiteral("With --header, --font or --shaper: write to FILE (replaced only when all is well)."),
        QStringLiteral("FILE"));
    const QCommandLineOption progmemOption(
        QStringLiteral("progmem"),
        QStringLiteral("With --header, --font-format c or --shaper: keep the arrays in flash (AVR's PROGMEM); a GFX "
                       "font's always are."));
    const QCommandLineOption fontOption(
        QStringLiteral("font"),
        QStringLiteral("Render the display's font from FONT, a font file or a family name: the glyph of every "
                       "slot at its code in the table."),
        QStringLiteral("FONT"));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"), QStringLiteral("With --font: the pixel size of the em (a bitmap font's strike)."),
        QStringLiteral("PX"));
    const QCommandLineOption fontFormatOption(
        QStringLiteral("font-format"),
        QStringLiteral("With --font: bdf (default), c (a C header of bitmaps for any display), gfx (an Adafruit "
                       "GFX font) or png (a picture of the glyph sheet, or of a text with --sample)."),
        QStringLiteral("FORMAT"));
    const QCommandLineOption bitsOption(
        QStringLiteral("bits"),
        QStringLiteral("With --font-format c: rows (default; row by row, the leftmost pixel in the top bit) or "
                       "columns (column by column, bytes of eight rows, the topmost pixel in the lowest bit)."),
        QStringLiteral("BITS"));
    const QCommandLineOption nameOption(
        QStringLiteral("name"),
        QStringLiteral("With --font-format c or gfx, or --shaper: the prefix of the header's names (default %1 for c, "
                       "%2 for gfx, %3 for the shaper).")
            .arg(QLatin1StringView(kDefaultCFontName), QLatin1StringView(kDefaultGfxFontName),
                 QLatin1StringView(kDefaultShaperPrefix)),
        QStringLiteral("PREFIX"));
    const QCommandLineOption sampleOption(
        QStringLiteral("sample"),
        QStringLiteral("With --font-format png: a picture of TEXT as the display shows it, in --order (visual by "
                       "default) and in rows of --width."),
        QStringLiteral("TEXT"));
    const QCommandLineOption zoomOption(
        QStringLiteral("zoom"),
        QStringLiteral("With --font-format png: every pixel of the display a square of N × N (1 to %1, default 4).")
            .arg(kMaxZoom),
        QStringLiteral("N"));
    const QCommandLineOption hintingOption(
        QStringLiteral("hinting"),
        QStringLiteral("With --font: auto (FreeType's autohinter, default), font (the font's own) or none."),
        QStringLiteral("HINTING"));
    const QCommandLineOption shaperOption(
        QStringLiteral("shaper"),
        QStringLiteral("Write a C header that converts text on the firmware as this converter does, with the table's "
                       "codes."));
    const QCommandLineOption newTableOption(
        QStringLiteral("new-table"),
        QStringLiteral("Write a table with a code for every glyph, for a display that has no codes yet, to the "
                       "file TEXT names (default: the table used without --table). A table with codes filled in "
                       "is never replaced."));
    parser.addOptions({tableOption, orderOption, formatOption, widthOption, reverseOption, slotsOption, headerOption,
                       outputOption, progmemOption, fontOption, sizeOption, fontFormatOption, bitsOption, nameOption,
                       hintingOption, sampleOption, zoomOption, shaperOption, newTableOption});
    parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("The text to convert (UTF-8)."),
                                 QStringLiteral("[TEXT]"));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();

    if (!parser.parse(arguments))
        return UsageError{parser.errorText()};
    // Printed by the program, not by Qt, which on Windows would write them in the ANSI code
    // page, or show them in a message box where no console is attached.
    if (parser.isSet(helpOption))
        return PrintedAnswer{parser.helpText()};
    // Qt's own options go with --help-all, which only process() prints; on Windows that would
    // mean a message box, so there --help-all answers as --help does.
    if (parser.isSet(QStringLiteral("help-all"))) {
#ifdef Q_OS_WIN
        return PrintedAnswer{parser.helpText()};
#else
        parser.process(arguments);
#endif
    }
    if (parser.isSet(versionOption))
        return PrintedAnswer{QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion()
                             + u'\n'};

    const auto error = [](const char* message) { return UsageError{QString::fromLatin1(message)}; };
    const QStringList texts = parser.positionalArguments();
    if (parser.isSet(newTableOption)) {
        if (parser.optionNames().size() > 1)
            return error("--new-table takes nothing but the name of the table file to write.");
        if (texts.size() > 1)
            return error("--new-table takes one file: the name of the table file to write.");
        CliRequest request;
        request.newTablePath = texts.isEmpty() ? defaultTablePath : texts.first();
        if (request.newTablePath->isEmpty())
            return error("--new-table needs the name of a table file.");
        return request;
    }
    if (parser.isSet(shaperOption)) {
        const QStringList allowed = {shaperOption.names().first(), tableOption.names().first(),
                                     outputOption.names().first(), nameOption.names().first(),
                                     progmemOption.names().first()};
        for (const QString& name : parser.optionNames())
            if (!allowed.contains(name))
                return UsageError{QStringLiteral("--shaper takes only --table, --output, --name and --progmem, not --%1.")
                                      .arg(name)};
        if (!texts.isEmpty())
            return error("--shaper converts text on the firmware: give no TEXT.");
        CliRequest request;
        if (auto wrong = takeFilePaths(parser, tableOption, outputOption, request))
            return *wrong;
        request.progmem = parser.isSet(progmemOption);
        const QString prefix = parser.isSet(nameOption) ? parser.value(nameOption) : QLatin1StringView(kDefaultShaperPrefix);
        if (prefix.isEmpty())
            return error("--name needs the prefix of the header's names.");
        if (const std::optional<QString> problem = prefixProblem(prefix, shaperNames(prefix)))
            return UsageError{QStringLiteral("--name: %1.").arg(*problem)};
        request.shaperPrefix = prefix;
        return request;
    }
    if (texts.size() > 1)
        return error("give the text as one argument (quote it).");
    const bool font = parser.isSet(fontOption);
    for (const QCommandLineOption* fontOnly : {&sizeOption, &fontFormatOption, &bitsOption, &nameOption, &hintingOption})
        if (!font && parser.isSet(*fontOnly))
            return UsageError{QStringLiteral("--%1 goes with --font.").arg(fontOnly->names().first())};
    const bool header = parser.isSet(headerOption);
    RowWidth width;
    if (auto wrong = takeRowWidth(parser, widthOption, width))
        return *wrong;
    if (width.pixels && !font)
        return error("--width Npx measures rows in the pixels of a font: it goes with --font and --sample, or with "
                     "--header and --font.");
    if (header && font) {
        if (!width.pixels)
            return error("--header takes --font, --size and --hinting only for rows in pixels, with --width Npx.");
        for (const QCommandLineOption* fontFileOnly : {&fontFormatOption, &bitsOption, &nameOption, &zoomOption})
            if (parser.isSet(*fontFileOnly))
                return UsageError{QStringLiteral("--%1 goes with --font alone, not with --header.")
                                      .arg(fontFileOnly->names().first())};
    }
    const bool picture = font && valueNamed(kFontFormatNames, parser.value(fontFormatOption)) == FontFormat::Png;
    for (const QCommandLineOption* pictureOnly : {&sampleOption, &zoomOption})
        if (!picture && parser.isSet(*pictureOnly))
            return UsageError{QStringLiteral("--%1 goes with --font-format png.").arg(pictureOnly->names().first())};
    const bool sample = parser.isSet(sampleOption);
    if (font && !header && !sample && (parser.isSet(orderOption) || parser.isSet(reverseOption) || parser.isSet(widthOption)))
        return error("--order, --reverse and --width go with --font only for a picture of a text, with --sample.");
    if (font && !header && (!texts.isEmpty() || parser.isSet(formatOption) || parser.isSet(slotsOption)))
        return error("--font writes the display's font: give neither TEXT nor --format or --slots.");
    if (picture && !parser.isSet(outputOption) && outputIsTerminal)
        return error("a PNG picture is not for the terminal: give --output FILE, or redirect standard output.");
    if (parser.isSet(slotsOption) &&
        (parser.isSet(orderOption) || parser.isSet(formatOption) || parser.isSet(widthOption) ||
         parser.isSet(reverseOption) || header))
        return error("--slots cannot be combined with --order, --format, --width, --reverse or --header.");
    if (header && (!texts.isEmpty() || parser.isSet(formatOption)))
        return error("--header takes its texts from the strings file, and writes no other format: "
                     "give neither TEXT nor --format.");
    if (!header && !font && (parser.isSet(outputOption) || parser.isSet(progmemOption)))
        return error("--output goes with --header or --font, --progmem with --header or --font.");

    CliRequest request;
    request.line.order = header || sample ? DisplayOrder::Visual : DisplayOrder::Typing;
    if (auto wrong = takeNamed(parser, orderOption, kDisplayOrderNames, request.line.order))
        return *wrong;
    if (parser.isSet(reverseOption)) {
        if (parser.isSet(orderOption) && request.line.order != DisplayOrder::Reverse)
            return error("--reverse is --order reverse: it cannot be combined with another order.");
        request.line.order = DisplayOrder::Reverse;
    }
    if (auto wrong = takeNamed(parser, formatOption, kCodeFormatNames, request.line.format))
        return *wrong;
    if (parser.isSet(slotsOption))
        request.line.format = CodeFormat::SlotNumbers;
    if (width.pixels && request.line.order == DisplayOrder::Typing)
        return error("rows in pixels are measured as the display draws them: give --order visual or reverse.");
    (width.pixels ? request.pixelWidth : request.line.width) = width.count;
    if (auto wrong = takeFilePaths(parser, tableOption, outputOption, request))
        return *wrong;
    if (!texts.isEmpty())
        request.text = texts.first();
    if (header) {
        request.stringsPath = parser.value(headerOption);
        request.progmem = parser.isSet(progmemOption);
    }
    if (font) {
        FontRequest& fontRequest = request.font.emplace();
        fontRequest.font = parser.value(fontOption);
        FontExportSettings& settings = fontRequest.settings;
        if (fontRequest.font.isEmpty())
            return error("--font needs a font file or a family name.");
        if (auto wrong = takeNumber(parser, sizeOption, 1, kMaxPixelSize, "of pixels ", fontRequest.pixelSize))
            return *wrong;
        if (auto wrong = takeNamed(parser, fontFormatOption, kFontFormatNames, settings.format))
            return *wrong;
        if (header) {
            if (auto wrong = takeNamed(parser, hintingOption, kHintingNames, settings.hinting))
                return *wrong;
            return request;
        }
        if (parser.isSet(bitsOption) && settings.format != FontFormat::C)
            return error("--bits goes with --font-format c.");
        if (auto wrong = takeNamed(parser, bitsOption, kBitmapBitsNames, settings.header.bits))
            return *wrong;
        for (const QCommandLineOption* headerOnly : {&nameOption, &progmemOption})
            if (settings.format != FontFormat::C && settings.format != FontFormat::Gfx && parser.isSet(*headerOnly))
                return UsageError{QStringLiteral("--%1 goes with --font-format c or gfx.").arg(headerOnly->names().first())};
        settings.header.progmem = parser.isSet(progmemOption);
        if (parser.isSet(nameOption)) {
            const QString prefix = parser.value(nameOption);
            if (prefix.isEmpty())
                return error("--name needs the prefix of the header's names.");
            const QStringList names = settings.format == FontFormat::C ? cFontNames(prefix) : gfxFontNames(prefix);
            if (const std::optional<QString> problem = fontNameProblem(prefix, names))
                return UsageError{QStringLiteral("--name: %1.").arg(*problem)};
            settings.name = prefix;
        }
        if (auto wrong = takeNamed(parser, hintingOption, kHintingNames, settings.hinting))
            return *wrong;
        if (auto wrong = takeNumber(parser, zoomOption, 1, kMaxZoom, "", settings.zoom))
            return *wrong;
        if (sample)
            settings.sample = SampleRequest{parser.value(sampleOption), request.line.order, width};
    }
    return request;
}

}  // namespace harfcode
