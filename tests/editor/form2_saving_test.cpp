#include "form2_test_support.h"

#include "table/table_file.h"


#include <gtest/gtest.h>

namespace harfcode {
namespace {

using testing::codesWith;
using testing::LoadedEditor;
using testing::TableFolder;

TEST(Form2Saving, WritesEveryCodeFieldAsItStands)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, QString>> edits;
        QByteArray expected;
    };
    const Case cases[] = {
        {"no edit", {}, encodeTable(defaultCodeStrings())},
        {"edits", {{1, "20"}, {74, "41"}, {5, ""}, {103, "f"}},
         encodeTable(codesWith({{1, "20"}, {74, "41"}, {5, ""}, {103, "f"}}))},
    };
    for (const Case& c : cases) {
        TableFolder folder;
        ASSERT_FALSE(writeDefaultTableFile(folder.tablePath()));
        LoadedEditor editor(folder.tablePath());
        for (const auto& [slot, code] : c.edits)
            editor.codeField(slot)->setText(code);

        editor.click("Command1");
        const QByteArray first = folder.tableBytes();
        editor.click("Command1");

        EXPECT_EQ(first, c.expected) << c.what;
        EXPECT_EQ(folder.tableBytes(), first) << c.what << ": saving twice changes nothing";
        EXPECT_EQ(editor.handedBack.count(), 2) << c.what;
        EXPECT_TRUE(editor.problems.isEmpty()) << c.what;
    }
    EXPECT_EQ(cases[0].expected.size(), 1236);
}

TEST(Form2Saving, KeepsEveryEditAndTheEditorOpenWhenTheFileCannotBeWritten)
{
    TableFolder folder;
    ASSERT_FALSE(writeDefaultTableFile(folder.tablePath()));
    LoadedEditor editor(folder.tablePath());
    editor.codeField(9)->setText("9A");
    folder.replaceTableByFolder();

    editor.click("Command1");

    ASSERT_EQ(editor.problems.count(), 1);
    EXPECT_TRUE(testing::lastProblem(editor.problems).contains("Could not write"));
    EXPECT_TRUE(testing::lastProblem(editor.problems).contains(folder.tablePath()));
    EXPECT_EQ(editor.handedBack.count(), 0);
    EXPECT_EQ(editor.code(9), "9A");
}

TEST(Form2Saving, LeavesThePreviousTableWholeInAReadOnlyFolder)
{
    TableFolder folder;
    ASSERT_FALSE(writeDefaultTableFile(folder.tablePath()));
    const QByteArray before = folder.tableBytes();
    LoadedEditor editor(folder.tablePath());
    editor.codeField(1)->setText("20");
    if (!folder.makeReadOnly())
        GTEST_SKIP() << "folder permissions are not enforced for this user (root); the folder case above covers the failure";

    editor.click("Command1");

    EXPECT_EQ(editor.problems.count(), 1);
    EXPECT_EQ(editor.handedBack.count(), 0);
    EXPECT_EQ(folder.tableBytes(), before);
    EXPECT_EQ(editor.code(1), "20");
}

}  // namespace
}  // namespace harfcode
