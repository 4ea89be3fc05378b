#include "form2_test_support.h"

#include "table/table_file.h"


#include <gtest/gtest.h>

namespace harfcode {
namespace {

using testing::LoadedEditor;
using testing::TableFolder;

TEST(Form2Loading, ShowsTheDefaultTableBesideTheGlyphOfEverySlot)
{
    TableFolder folder;
    ASSERT_FALSE(writeDefaultTableFile(folder.tablePath()));
    LoadedEditor editor(folder.tablePath());
    for (int slot = 1; slot <= 103; ++slot)
        EXPECT_EQ(editor.code(slot), "00") << slot;
    const std::pair<const char*, QString> glyphs[] = {
        {"InkEdit2", QString(QChar(0xFE81))}, {"InkEdit5", QString(QChar(0xFE91))},
        {"InkEdit63", QString(QChar(0xFEEF))}, {"InkEdit64", "0"}, {"InkEdit73", "9"},
        {"InkEdit74", "A"}, {"InkEdit99", "Z"}, {"InkEdit100", "."}, {"InkEdit101", "!"},
        {"InkEdit102", "?"}, {"InkEdit103", QString(QChar(0x061F))}, {"InkEdit1_0", ""},
    };
    for (const auto& [name, glyph] : glyphs)
        EXPECT_EQ(testing::child<QLineEdit>(editor.window, name)->text(), glyph) << name;
    EXPECT_TRUE(editor.problems.isEmpty());
}

TEST(Form2Loading, ShowsEachLineAsTheReadingRuleGivesIt)
{
    TableFolder folder;
    folder.writeTableLines({"ABC=", "7", "", "ff=x", "=\u0628"});
    LoadedEditor editor(folder.tablePath());
    const QString expected[] = {"AB", "7", "", "ff", "=\u0628"};
    for (int slot = 1; slot <= 5; ++slot)
        EXPECT_EQ(editor.code(slot), expected[slot - 1]) << slot;
    // A short file reaches only its own slots: the rest start empty.
    EXPECT_EQ(editor.code(6), "");
    EXPECT_EQ(editor.code(103), "");
}

TEST(Form2Loading, CancelRestoresTheFileCodesAndKeepsFieldsBeyondAShortFile)
{
    TableFolder folder;
    folder.writeTableLines({"11=", "22=\uFE81", "33=\uFE82"});
    const QByteArray before = folder.tableBytes();
    LoadedEditor editor(folder.tablePath());
    editor.codeField(2)->setText("EE");
    editor.codeField(50)->setText("5A");

    editor.click("Command2");

    EXPECT_EQ(editor.code(2), "22");
    EXPECT_EQ(editor.code(50), "5A");
    EXPECT_EQ(folder.tableBytes(), before);
    EXPECT_EQ(editor.handedBack.count(), 1);
    EXPECT_TRUE(editor.problems.isEmpty());
}

TEST(Form2Loading, TellsWhenTheTableCannotBeReadAndKeepsTheFields)
{
    TableFolder folder;
    folder.replaceTableByFolder();
    LoadedEditor editor(folder.tablePath());
    ASSERT_EQ(editor.problems.count(), 1);
    EXPECT_TRUE(testing::lastProblem(editor.problems).contains("Could not read"));
    EXPECT_TRUE(testing::lastProblem(editor.problems).contains(folder.tablePath()));
    EXPECT_EQ(editor.code(1), "");
    EXPECT_EQ(testing::child<QLineEdit>(editor.window, "InkEdit74")->text(), "A");

    // "Cancel" without a readable file keeps the edits and the editor open.
    editor.codeField(1)->setText("20");
    editor.click("Command2");
    EXPECT_EQ(editor.problems.count(), 2);
    EXPECT_EQ(editor.handedBack.count(), 0);
    EXPECT_EQ(editor.code(1), "20");
}

TEST(Form2Loading, TellsAboutLinesBeyondTheLastSlotAndShowsTheFirst103)
{
    TableFolder folder;
    QStringList lines(103, QStringLiteral("AB="));
    lines << "CD=" << "EF=";
    folder.writeTableLines(lines);
    LoadedEditor editor(folder.tablePath());
    EXPECT_EQ(editor.code(103), "AB");
    ASSERT_EQ(editor.problems.count(), 1);
    EXPECT_TRUE(testing::lastProblem(editor.problems).contains("more than 103 lines"));

    // A successful "Cancel" hands back first, so the note shows over the main window.
    QList<QString> order;
    QObject::connect(&editor.window, &Form2::handedBack, [&] { order.append("handedBack"); });
    QObject::connect(&editor.window, &Form2::problem, [&] { order.append("problem"); });
    editor.click("Command2");
    EXPECT_EQ(order, (QList<QString>{"handedBack", "problem"}));
}

}  // namespace
}  // namespace harfcode
