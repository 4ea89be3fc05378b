// The editor on its own: what a code field accepts, and a "Save" that cannot write.
#include "editor/form2.h"
#include "support/widget_test_support.h"

#include <QClipboard>
#include <QSignalSpy>
#include <QValidator>

namespace harfcode {
namespace {

using namespace testing;

// The file keeps two characters and one line per slot, however a code gets into its field.
TEST(Form2, CodeFieldHoldsAtMostTwoCharactersAndNoLineBreakAlsoWhenPasted)
{
    Form2 editor{QString()};  // never loads, so no table is read
    QLineEdit* field = codeField(editor, 7);
    QTest::keyClicks(field, "ABC");
    EXPECT_EQ(field->text(), "AB");
    // A character beyond the two units goes whole: never half of a surrogate pair.
    const std::pair<QString, QString> pastes[] = {{"1234", "12"}, {"\n9", "9"}, {"\r\n", ""}, {"\u2029F", "F"},
                                                  {u"A\U0001F600"_qs, "A"}, {u"\U0001F600B"_qs, u"\U0001F600"_qs}};
    for (const auto& [pasted, held] : pastes) {
        field->clear();
        QApplication::clipboard()->setText(pasted);
        QTest::keySequence(field, QKeySequence::Paste);
        EXPECT_EQ(field->text(), held) << pasted.toStdString();
    }
    // A line break after the caret goes without moving the caret.
    QString withBreak = "1\n2";
    int caret = 1;
    field->validator()->validate(withBreak, caret);
    EXPECT_EQ(std::pair(withBreak, caret), std::pair(QString("12"), 1));
}

// Also run as an ordinary user, where a read-only folder makes the save fail.
TEST(Form2, SaveThatFailsTellsAndKeepsTheEditsTheEditorAndThePreviousFile)
{
    TableFolder folder;
    folder.write(encodeTable(sampleCodes()));
    Form2 editor(folder.tablePath());
    editor.load();
    QSignalSpy handedBack(&editor, &Form2::handedBack);
    QSignalSpy problems(&editor, &Form2::problem);
    codeField(editor, 9)->setText("9A");
    const bool readOnly = folder.makeReadOnly();
    if (!readOnly)
        folder.replaceByFolder();  // root ignores folder permissions, but cannot replace a folder by a file

    click(editor, "Command1");
    EXPECT_EQ(codeField(editor, 9)->text(), "9A");
    EXPECT_EQ(handedBack.count(), 0) << "the editor stays open";
    ASSERT_EQ(problems.count(), 1);
    EXPECT_TRUE(problems[0][0].toString().startsWith("Could not write the glyph code table \"" + folder.tablePath()));
    if (!readOnly)
        GTEST_SKIP() << "root ignores folder permissions: no previous file was at stake";
    EXPECT_EQ(folder.bytes(), encodeTable(sampleCodes()));
}

}  // namespace
}  // namespace harfcode
