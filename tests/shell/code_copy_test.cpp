// Copying from the main window's two code boxes: "Copy as C array" and "Copy as C string" from
// their context menus, and the whole line with Ctrl+A, Ctrl+C.
#include "c_source/c_bytes.h"
#include "conversion/code_output.h"
#include "support/widget_test_support.h"

#include <QClipboard>
#include <QPointer>

#include <algorithm>
#include <functional>
#include <memory>

namespace harfcode {
namespace {

using namespace testing;

const QString kCArray = QStringLiteral("Copy as C array");
const QString kCString = QStringLiteral("Copy as C string");
const QString kUntouched = QStringLiteral("held before");

// The menu's entries: their texts ("-" for a separator), a disabled one in brackets.
QStringList entriesOf(const QMenu& menu)
{
    QStringList entries;
    for (const QAction* action : menu.actions()) {
        const QString text = action->isSeparator() ? QStringLiteral("-") : action->text();
        entries.append(action->isEnabled() ? text : '[' + text + ']');
    }
    return entries;
}

// Clicks the entry of the box's context menu; what the clipboard holds then.
QString copyFrom(QPlainTextEdit& box, const QString& entry)
{
    QGuiApplication::clipboard()->setText(kUntouched);
    const QPointer<QMenu> menu = openContextMenu(box);
    if (!menu)
        return "(no menu)";
    const QList<QAction*> actions = menu->actions();
    const auto action = std::find_if(actions.begin(), actions.end(), [&](const QAction* a) { return a->text() == entry; });
    if (action == actions.end() || !(*action)->isEnabled())
        return "(no enabled entry " + entry + ")";
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(*action).center());
    EXPECT_FALSE(menu && menu->isVisible()) << "the click closes the menu";
    return QGuiApplication::clipboard()->text();
}

TEST(CodeCopy, CopiesTheCodesOfEachBoxInItsOrderAsCArrayOrCString)
{
    CodeStrings codes = sampleCodes();
    codes[76 - 1] = "c3";  // the Latin capital C; lower case is a byte too
    Program p(codes);
    // Beh initial, alef final, the blank, a capital with a code, a lower-case letter without
    // one (which adds nothing), beh isolated.
    type(p.main(), kBeh + kAlef + " Cb" + kBeh);
    struct Case { const char *box, *shows, *array, *string; };
    const Case cases[] = {
        {"Text1", "A2    c3  20  0B  A1", "0xA2, 0xC3, 0x20, 0x0B, 0xA1", R"("\xA2\xC3\x20\x0B\xA1")"},
        {"Text2", "A1  0B  20  c3    A2", "0xA1, 0x0B, 0x20, 0xC3, 0xA2", R"("\xA1\x0B\x20\xC3\xA2")"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(p.box(c.box).toPlainText(), c.shows) << c.box;
        EXPECT_EQ(copyFrom(p.box(c.box), kCArray), c.array) << c.box;
        EXPECT_EQ(copyFrom(p.box(c.box), kCString), c.string) << c.box;
        EXPECT_EQ(p.box(c.box).toPlainText(), c.shows) << "copying leaves the box as it was";
    }
    EXPECT_EQ(shownWindows(), QStringList{"Form1"});
}

TEST(CodeCopy, EndsTheStandardMenuAndIsOfferedWhileTheBoxShowsSomething)
{
    Program p;
    const auto emptyBox = [&](const char* name) {
        QTest::keyClick(&p.box(name), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&p.box(name), Qt::Key_Delete);
    };
    struct Step { const char* what; std::function<void()> step; bool text1Offers, text2Offers; };
    const Step steps[] = {
        {"nothing typed", [] {}, false, false},
        {"a letter typed", [&] { type(p.main(), kBeh); }, true, true},
        {"the user empties English Hex", [&] { emptyBox("Text2"); }, true, false},
        {"the user types into English Hex", [&] { QTest::keyClicks(&p.box("Text2"), "x"); }, true, true},
        {"the user empties Persian Hex", [&] { emptyBox("Text1"); }, false, true},
    };
    for (const Step& s : steps) {
        s.step();
        for (const auto& [name, offers] : {std::pair{"Text1", s.text1Offers}, {"Text2", s.text2Offers}}) {
            const std::unique_ptr<QMenu> standard(p.box(name).createStandardContextMenu());
            QStringList expected = entriesOf(*standard);
            expected << "-" << (offers ? kCArray : '[' + kCArray + ']') << (offers ? kCString : '[' + kCString + ']')
                     << QStringLiteral("Show on Display…");
            QMenu* menu = openContextMenu(p.box(name));
            EXPECT_EQ(menu ? entriesOf(*menu) : QStringList(), expected) << s.what << ", " << name;
            if (menu)
                menu->close();
        }
    }
}

TEST(CodeCopy, CopiesTheLastConversionWhateverTheFileOrTheBoxHoldsSince)
{
    Program p;
    QPlainTextEdit& typingOrder = p.box("Text2");
    type(p.main(), kBeh + kAlef);
    CodeStrings changed = sampleCodes();
    changed[5 - 1] = "FF";
    p.folder.write(encodeTable(changed));
    EXPECT_EQ(copyFrom(typingOrder, kCArray), "0xA1, 0x0B") << "the file changed after the conversion";
    QTest::keyClicks(&typingOrder, "7F ");
    EXPECT_EQ(copyFrom(typingOrder, kCString), R"("\xA1\x0B")") << "the user typed into the box";
    type(p.main(), "b");  // the next conversion reads the changed file
    EXPECT_EQ(copyFrom(typingOrder, kCArray), "0xFF, 0x0B");

    // Without any glyph the box is empty, so only what the user types into it offers the copy.
    QTest::keyClick(&p.input(), Qt::Key_A, Qt::ControlModifier);
    type(p.main(), "b");
    EXPECT_EQ(typingOrder.toPlainText(), "");
    QTest::keyClicks(&typingOrder, "00");
    EXPECT_EQ(copyFrom(typingOrder, kCArray), "");
    EXPECT_EQ(copyFrom(typingOrder, kCString), R"("")");
}

// Thousands of lines' worth of codes, wrapped in the box, pasted and then typed on: read back
// and copied, each box gives its line exactly, without a line break the line does not hold.
TEST(CodeCopy, SelectAllAndCtrlCCopyTheWholeLongLineOfEachBox)
{
    Program p;
    QString pasted;
    for (int word = 0; word < 2'000; ++word)
        pasted += kBeh + kAlef + kBeh + u' ';
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keySequence(&p.input(), QKeySequence::Paste);
    const QString typed = kBeh + kBeh + u' ' + kAlef + kBeh;
    type(p.main(), typed);
    const ConversionOutput expected = convertText(pasted + typed, sampleCodes());
    for (const auto& [name, line] : {std::pair{"Text1", expected.reverseOrder}, {"Text2", expected.typingOrder}}) {
        EXPECT_EQ(textOf(p.main(), name), line) << name << ": read back";
        p.box(name).setFocus();
        QTest::keyClick(&p.box(name), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&p.box(name), Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), line) << name << ": copied";
    }
}

// What the byte rules refuse leaves the clipboard as it was and is told, without blocking typing.
TEST(CodeCopy, ACodeThatIsNoByteLeavesTheClipboardAndIsNamed)
{
    CodeStrings codes = sampleCodes();
    codes[5 - 1] = "G1";
    Program p(codes);
    type(p.main(), kBeh + kAlef);
    const QString message = "Could not copy the codes as C: " + InvalidCode{5, "G1"}.description() + '.';
    EXPECT_EQ(copyFrom(p.box("Text1"), kCArray), kUntouched);
    EXPECT_EQ(copyFrom(p.box("Text2"), kCString), kUntouched);
    EXPECT_EQ(shownMessageTexts(), QStringList(2, message));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the message must not block typing";
}

}  // namespace
}  // namespace harfcode
