#include "editor/form2.h"
#include "support/table_folder.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

using testing::child;
using testing::TableFolder;

// A code holds two characters and never a line break, however it gets into the field.
TEST(Form2CodeField, HoldsAtMostTwoCharactersAndNoLineBreak)
{
    enum class Entry { Typed, PastedByKey, PastedByMenu };
    struct Case {
        Entry entry;
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {Entry::Typed, "ABC", "AB"},
        {Entry::Typed, "7", "7"},
        {Entry::PastedByKey, "A1\n", "A1"},
        {Entry::PastedByKey, "C3\r\n", "C3"},
        {Entry::PastedByMenu, "F\u2029", "F"},
        {Entry::PastedByMenu, "\n", ""},
        {Entry::PastedByMenu, "E\u2028", "E"},
        {Entry::PastedByKey, "9\u0085", "9"},
        {Entry::PastedByKey, "1234", "12"},
    };
    TableFolder folder;
    Form2 window(folder.tablePath());
    window.show();
    QLineEdit* field = child<QLineEdit>(window, "InkEdit1_7");
    ASSERT_NE(field, nullptr);
    for (const Case& c : cases) {
        field->clear();
        field->setFocus();
        switch (c.entry) {
        case Entry::Typed:
            QTest::keyClicks(field, c.text);
            break;
        case Entry::PastedByKey:
            QApplication::clipboard()->setText(c.text);
            QTest::keySequence(field, QKeySequence::Paste);
            break;
        case Entry::PastedByMenu:
            QApplication::clipboard()->setText(c.text);
            field->paste();
            break;
        }
        EXPECT_EQ(field->text(), c.expected) << c.text.toStdString();
    }
}

}  // namespace
}  // namespace harfcode
