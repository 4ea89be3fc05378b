#include "conversion/code_output.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

const QChar kAlef(0x0627), kBeh(0x0628);

CodeStrings sampleCodes()
{
    CodeStrings codes;
    codes[1 - 1] = QStringLiteral("20");
    codes[4 - 1] = QStringLiteral("0B");
    codes[5 - 1] = QStringLiteral("A1");
    codes[6 - 1] = QStringLiteral("A2");
    codes[74 - 1] = QStringLiteral("41");
    codes[75 - 1] = QStringLiteral("42");
    return codes;
}

TEST(ConvertText, JoinsCodesInBothOrders)
{
    struct Case {
        QString input;
        QString typingOrder;
        QString reverseOrder;
        QString caption;
    };
    const Case cases[] = {
        {QString(), "", "", "Length : 0"},
        {QString(kBeh) + kAlef, "A1  0B", "0B  A1", "Length : 2"},
        {QString(kBeh) + kAlef + u' ' + kBeh, "A1  0B  20  A2", "A2  20  0B  A1", "Length : 4"},
        {QString(kBeh) + u'b' + kAlef, "A2    0B", "0B    A2", "Length : 3"},
        {QString(kBeh) + QStringLiteral("bb") + kAlef, "A2      0B", "0B      A2", "Length : 4"},
        {QStringLiteral("b"), "", "", "Length : 1"},
        {QStringLiteral("bb\nb"), "", "", "Length : 4"},
        {QStringLiteral("AB"), "41  42", "42  41", "Length : 2"},
        {QStringLiteral("bAb"), "41", "41", "Length : 3"},
        {QStringLiteral("A C"), "41  20", "20  41", "Length : 3"},
        {QStringLiteral("12"), "", "", "Length : 2"},
    };
    const CodeStrings codes = sampleCodes();
    for (const Case& c : cases) {
        const ConversionOutput output = convertText(c.input, codes);
        EXPECT_EQ(output.typingOrder, c.typingOrder) << c.input.toStdString();
        EXPECT_EQ(output.reverseOrder, c.reverseOrder) << c.input.toStdString();
        EXPECT_EQ(output.lengthCaption, c.caption) << c.input.toStdString();
    }
}

TEST(ConvertText, CopiesCodeStringsUnchangedButTrimsOuterBlanks)
{
    CodeStrings codes;
    codes[74 - 1] = QStringLiteral(" a");      // A: leading blank, lower case
    codes[75 - 1] = QStringLiteral("x\t");     // B: a tab is not a blank
    codes[76 - 1] = QStringLiteral("long ");   // C: longer than two characters
    codes[77 - 1] = QString();                 // D: empty slot

    const ConversionOutput output = convertText(u"ABCD", codes);
    EXPECT_EQ(output.typingOrder, QStringLiteral("a  x\t  long"));
    EXPECT_EQ(output.reverseOrder, QStringLiteral("long   x\t   a"));
}

TEST(ConvertText, CountsUtf16UnitsAndKeepsUnknownCharacters)
{
    const CodeStrings codes = sampleCodes();
    // A character outside the BMP is two units, each without a slot.
    EXPECT_EQ(convertText(QString::fromUtf8("A\U0001F600B"), codes).lengthCaption, QStringLiteral("Length : 4"));
    EXPECT_EQ(convertText(QString::fromUtf8("A\U0001F600B"), codes).typingOrder, QStringLiteral("41      42"));
    EXPECT_EQ(lengthCaption(1234567), QStringLiteral("Length : 1234567"));
}

TEST(ConvertText, LongTextKeepsEveryCode)
{
    CodeStrings codes;
    codes[74 - 1] = QStringLiteral("41");
    const QString input(100000, u'A');
    const ConversionOutput output = convertText(input, codes);
    EXPECT_EQ(output.typingOrder.size(), 100000 * 4 - 2);
    EXPECT_EQ(output.typingOrder.count(QStringLiteral("41")), 100000);
    EXPECT_EQ(output.reverseOrder, output.typingOrder);
}

}  // namespace
}  // namespace harfcode
