#include "form1_test_support.h"

#include "table/table_file.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

using namespace harfcode::testing;

struct Form1Fixture {
    explicit Form1Fixture(const CodeStrings& codes)
    {
        folder.writeTable(codes);
        window.show();
    }

    void type(const QString& text) { typeText(inputOf(window), text); }

    TableFolder folder;
    Form1 window{folder.tablePath()};
    QSignalSpy problems{&window, &Form1::problem};
};

TEST(Form1Conversion, ShowsTheCodesOfWhatIsTypedInBothOrders)
{
    struct Case {
        QString typed;
        Outputs expected;
    };
    const Case cases[] = {
        {kBeh + kAlef, {"Length : 2", "0B  A1", "A1  0B"}},
        {kBeh + kAlef + u' ' + kBeh, {"Length : 4", "A2  20  0B  A1", "A1  0B  20  A2"}},
        {kBeh + u'b' + kAlef, {"Length : 3", "0B    A2", "A2    0B"}},
        {"b", {"Length : 1", "", ""}},
        {"AB", {"Length : 2", "42  41", "41  42"}},
        // A line break is one character; a no-break space stays one and is no blank.
        {kBeh + u'\n' + kAlef, {"Length : 3", "0B    A2", "A2    0B"}},
        {kBeh + u'\u00A0' + kBeh, {"Length : 3", "A2    A2", "A2    A2"}},
    };
    for (const Case& c : cases) {
        Form1Fixture form(sampleCodes());
        EXPECT_EQ(outputsOf(form.window), (Outputs{"Length : 0", "", ""}));
        form.type(c.typed);
        EXPECT_EQ(outputsOf(form.window), c.expected) << c.typed.toStdString();
        EXPECT_TRUE(form.problems.isEmpty());
    }
}

TEST(Form1Conversion, ReadsTheFileAtEveryChangeAndKeepsSlotsAShortFileDoesNotReach)
{
    Form1Fixture form(sampleCodes());
    form.type(kBeh + kAlef + u'A');
    EXPECT_EQ(outputsOf(form.window).typingOrder, "A1  0B  41");

    // Four lines only: alef gets its new code, "A" (slot 74) keeps the one read before.
    form.folder.writeTableLines({"20=", "00=", "00=", "C4="});
    form.type("B");
    EXPECT_EQ(outputsOf(form.window).typingOrder, "A1  C4  41  42");
}

TEST(Form1Conversion, FormattingOutlivesDeletingEverything)
{
    Form1Fixture form(sampleCodes());
    QTextEdit* input = inputOf(form.window);
    form.type(kBeh);
    input->selectAll();
    QTest::keyClick(input, Qt::Key_Delete);
    EXPECT_EQ(outputsOf(form.window), (Outputs{"Length : 0", "", ""}));
    form.type(kAlef);
    QTextCursor cursor(input->document());
    cursor.movePosition(QTextCursor::End);
    const QFont typed = cursor.charFormat().font().resolve(input->document()->defaultFont());
    EXPECT_EQ(typed.family(), "Tahoma");
    EXPECT_TRUE(typed.bold());
    EXPECT_DOUBLE_EQ(typed.pointSizeF(), 8.5);
    EXPECT_EQ(cursor.blockFormat().layoutDirection(), Qt::LeftToRight);
}

TEST(Form1Conversion, GoesOnWithTheLastCodesWhenTheFileCannotBeReadAndTellsOnce)
{
    Form1Fixture form(sampleCodes());
    form.type(kBeh);
    form.folder.removeTable();

    form.type(kAlef);
    form.type(QStringLiteral(" ") + kBeh);
    EXPECT_EQ(outputsOf(form.window).typingOrder, "A1  0B  20  A2");
    EXPECT_EQ(form.problems.count(), 1);
    EXPECT_TRUE(form.problems.first().first().toString().contains(form.folder.tablePath()));
    EXPECT_FALSE(tableExists(form.folder.tablePath())) << "the conversion must never write the table";

    form.folder.writeTable(codesWith({{6, "B6"}}));
    form.type(kBeh);
    EXPECT_EQ(form.problems.count(), 1);
    EXPECT_TRUE(outputsOf(form.window).typingOrder.endsWith("B6"));

    form.folder.replaceTableByFolder();
    form.type(kBeh);
    EXPECT_EQ(form.problems.count(), 2) << "a new failure after a good read is told again";
}

TEST(Form1Conversion, UsesTheFirst103LinesAndTellsOncePerStateOfTheFile)
{
    QStringList lines(103, QStringLiteral("00="));
    lines[5 - 1] = "A1=";
    lines << "FF=";
    Form1Fixture form(sampleCodes());
    form.folder.writeTableLines(lines);

    form.type(kBeh);
    form.type(kBeh);
    EXPECT_EQ(outputsOf(form.window).typingOrder, "A1  00");
    EXPECT_EQ(form.problems.count(), 1);

    lines << "EE=";
    form.folder.writeTableLines(lines);
    form.type(kBeh);
    EXPECT_EQ(form.problems.count(), 2);
}

}  // namespace
}  // namespace harfcode
