// A line converted in small pieces gives exactly what it gives in one piece, in every mode.
#include "lines/line_converter.h"
#include "table/slot_catalogue.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

// Every slot's code is its own number, so that a wrong form or order shows in the output.
CodeStrings numberedCodes()
{
    CodeStrings codes;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        codes[slot - 1] = QString::asprintf("%02X", slot == 3 ? 0 : slot);  // one "00" for the C string warning
    return codes;
}

// Takes the output of every piece away, as the converter's standard output does.
class CollectedOutput : public LineOutput {
public:
    QByteArray& pending() override { return m_pending; }
    void written() override
    {
        all += m_pending;
        m_pending.clear();
    }

    QByteArray all;

private:
    QByteArray m_pending;
};

struct Converted {
    QByteArray output;
    std::vector<ConversionWarning> warnings;
    std::optional<SkippedLine> skipped;
};

Converted convert(const LineOptions& options, const CodeStrings& codes, QByteArrayView line, qsizetype pieceBytes)
{
    Converted converted;
    ConversionWarnings warnings([&](const ConversionWarning& warning) { converted.warnings.push_back(warning); });
    LineConverter converter(options, codes, warnings, pieceBytes);
    CollectedOutput output;
    converted.skipped = converter.convert(line, 7, output);
    EXPECT_TRUE(output.pending().isEmpty()) << "output left unwritten";
    converted.output = output.all;
    return converted;
}

TEST(LineConversion, PiecesOfAnySizeGiveTheOutputOfTheWholeLine)
{
    const QByteArray persian("سلام به همه دوستان، قیمت LED امروز ۱۴۰۳ تومان است. ");
    const QByteArray lines[] = {
        persian + persian + persian,
        "  می\u200Cشود  ABC 12.5%  , x ~ \tلا  ",
        "HELLO WORLD 123 ABC DEF 456 GHI",
        "سلام😀دنیا A😀B ب😀",
        "سلام \u202BABC دنیا\u202C متن و \u2067XYZ 12\u2069 سلام " + persian,
        "سلام\u2029دنیا ABC\u2029 ۱۲ بب",
        "سلام \u202Aدنیا ABC زیبا\u202C متن \u2066سلام دنیا 12\u2069 سلام " + persian,
        "ABC(DEF سلام GH) دنیا [LED (ABC بب)] و (" + persian,  // brackets take the direction of what they hold
        "xy ب ~x بب xyz",  // letters without a slot open and end it: no outer blanks
        "\u200Cب\u200C",
        "سَّّّّّّّّّلام بَََََََََ A ََ\u200Cَََب ًًًًًًًًًًًًً",  // marks across the pieces' ends
        "",
        "      ",
        "اب",
        persian + "\xD8" + persian,  // broken in its middle: skipped
    };
    CodeStrings withInvalidCode = numberedCodes();
    withInvalidCode[0] = "G1";  // the blank's

    std::vector<LineOptions> modes;
    for (const DisplayOrder order : {DisplayOrder::Typing, DisplayOrder::Reverse, DisplayOrder::Visual})
        for (const CodeFormat format : {CodeFormat::Spaced, CodeFormat::CArray, CodeFormat::CString, CodeFormat::Bytes, CodeFormat::Glyphs})
            for (const int width : {0, 1, 4, 9, 1000})
                modes.push_back({order, format, width});
    modes.push_back({DisplayOrder::Typing, CodeFormat::SlotNumbers, 0});

    for (const CodeStrings& codes : {numberedCodes(), withInvalidCode}) {
        for (const LineOptions& mode : modes) {
            for (const QByteArray& line : lines) {
                const Converted whole = convert(mode, codes, line, LineConverter::kPieceBytes);
                // The windows' conversion, for the codes as they show them.
                if (mode.format == CodeFormat::Spaced && mode.width == 0 && mode.order != DisplayOrder::Visual && !whole.skipped) {
                    const ConversionOutput shown = convertText(QString::fromUtf8(line), codes);
                    EXPECT_EQ(whole.output, (mode.order == DisplayOrder::Typing ? shown.typingOrder : shown.reverseOrder).toUtf8() + '\n')
                        << QString::fromUtf8(line).toStdString();
                }
                for (const qsizetype pieceBytes : {1, 2, 5, 16}) {
                    const std::string what = QStringLiteral("order %1, format %2, width %3, pieces of %4, line \"%5\"")
                                                 .arg(int(mode.order)).arg(int(mode.format)).arg(mode.width)
                                                 .arg(pieceBytes).arg(QString::fromUtf8(line)).toStdString();
                    const Converted pieces = convert(mode, codes, line, pieceBytes);
                    EXPECT_EQ(pieces.output, whole.output) << what;
                    EXPECT_TRUE(pieces.warnings == whole.warnings) << what;
                    ASSERT_EQ(pieces.skipped.has_value(), whole.skipped.has_value()) << what;
                    if (whole.skipped) {
                        EXPECT_TRUE(pieces.output.isEmpty()) << what << ": a skipped line leaves no trace";
                        EXPECT_EQ(pieces.skipped->invalidCode.has_value(), whole.skipped->invalidCode.has_value()) << what;
                    }
                }
            }
        }
    }
}

// A visual piece starts where ICU still holds brackets that never closed before it, which
// decide, since ICU's count of them wraps at 65536, whether a bracket after it pairs: here
// the last '(' is the 65536th, and the blank before ')' lies right of "B" only when they pair.
TEST(LineConversion, AVisualPieceStartsWithTheBracketsIcuHoldsThere)
{
    const QString angles = QString(u'\u2329').repeated(16383);  // each fills two entries
    const QByteArray line = (angles + QString::fromUtf8("بب") + angles + QString::fromUtf8("\u2329[A(B )ب")).toUtf8();
    const LineOptions visual{DisplayOrder::Visual, CodeFormat::Spaced, 0};
    EXPECT_EQ(convert(visual, numberedCodes(), line, 16 << 10).output,
              convert(visual, numberedCodes(), line, LineConverter::kPieceBytes).output);
}

}  // namespace
}  // namespace harfcode
