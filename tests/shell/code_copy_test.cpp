// Copying from the main window's two code boxes: the whole line, and "Copy as C array" and
// "Copy as C string" from their context menus.
#include "c_source/c_bytes.h"
#include "conversion/code_output.h"
#include "shell/window_flow.h"
#include "support/widget_test_support.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
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

// The main window started on a table of these codes.
struct MainWindow {
    explicit MainWindow(const CodeStrings& codes)
    {
        folder.write(encodeTable(codes));
        flow.start();
        QGuiApplication::clipboard()->setText(kUntouched);
    }
    Form1& window() { return flow.mainWindow(); }
    QPlainTextEdit& box(const QString& name) { return *window().findChild<QPlainTextEdit*>(name); }

    TableFolder folder;
    WindowFlow flow{folder.tablePath()};
};

// The sample codes, and "c3" (lower case is a byte too) for the Latin capital C.
CodeStrings codesWithCapitalC()
{
    CodeStrings codes = sampleCodes();
    codes[76 - 1] = "c3";
    return codes;
}

// Opens the box's context menu as a right click does.
QMenu* openContextMenu(QPlainTextEdit& box)
{
    const QPoint position = box.viewport()->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, box.viewport()->mapToGlobal(position));
    QApplication::sendEvent(box.viewport(), &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

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

// The box's context menu as the user sees it, closed again.
QStringList contextMenuOf(QPlainTextEdit& box)
{
    QMenu* menu = openContextMenu(box);
    if (!menu)
        return {"(no menu)"};
    const QStringList entries = entriesOf(*menu);
    menu->close();
    return entries;
}

// Clicks the entry of the box's context menu; what the clipboard holds then.
QString copyFrom(QPlainTextEdit& box, const QString& entry)
{
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
    // Beh initial, alef final, the blank, a capital with a code, a lower-case letter without
    // one (which adds nothing), beh isolated.
    const QString text = kBeh + kAlef + " Cb" + kBeh;
    struct Case { const char *box, *entry, *shows, *copied; };
    const Case cases[] = {
        {"Text1", "Copy as C array", "A2    c3  20  0B  A1", "0xA2, 0xC3, 0x20, 0x0B, 0xA1"},
        {"Text1", "Copy as C string", "A2    c3  20  0B  A1", R"("\xA2\xC3\x20\x0B\xA1")"},
        {"Text2", "Copy as C array", "A1  0B  20  c3    A2", "0xA1, 0x0B, 0x20, 0xC3, 0xA2"},
        {"Text2", "Copy as C string", "A1  0B  20  c3    A2", R"("\xA1\x0B\x20\xC3\xA2")"},
    };
    for (const Case& c : cases) {
        MainWindow m(codesWithCapitalC());
        type(m.window(), text);
        EXPECT_EQ(m.box(c.box).toPlainText(), c.shows) << c.box;
        EXPECT_EQ(copyFrom(m.box(c.box), c.entry), c.copied) << c.box << ' ' << c.entry;
        EXPECT_EQ(m.box(c.box).toPlainText(), c.shows) << "copying leaves the box as it was";
        EXPECT_EQ(shownWindows(), QStringList{"Form1"});
    }
}

TEST(CodeCopy, EndsTheStandardMenuAndIsOfferedWhileTheBoxShowsSomething)
{
    MainWindow m(sampleCodes());
    const auto emptyBox = [&](const char* name) {
        m.box(name).setFocus();
        QTest::keyClick(&m.box(name), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&m.box(name), Qt::Key_Delete);
    };
    struct Step { const char* what; std::function<void()> step; bool text1Offers, text2Offers; };
    const Step steps[] = {
        {"nothing typed", [] {}, false, false},
        {"a letter typed", [&] { type(m.window(), kBeh); }, true, true},
        {"the user empties English Hex", [&] { emptyBox("Text2"); }, true, false},
        {"the user types into English Hex", [&] { QTest::keyClicks(&m.box("Text2"), "x"); }, true, true},
        {"the user empties Persian Hex", [&] { emptyBox("Text1"); }, false, true},
    };
    for (const Step& s : steps) {
        s.step();
        for (const auto& [name, offers] : {std::pair{"Text1", s.text1Offers}, {"Text2", s.text2Offers}}) {
            QPlainTextEdit& box = m.box(name);
            const std::unique_ptr<QMenu> standard(box.createStandardContextMenu());
            QStringList expected = entriesOf(*standard);
            expected << "-" << (offers ? kCArray : '[' + kCArray + ']') << (offers ? kCString : '[' + kCString + ']')
                     << QStringLiteral("Show on Display…");
            EXPECT_EQ(contextMenuOf(box), expected) << s.what << ", " << name;
        }
    }
}

TEST(CodeCopy, CopiesTheLastConversionWhateverTheFileOrTheBoxHoldsSince)
{
    MainWindow m(sampleCodes());
    QPlainTextEdit& typingOrder = m.box("Text2");
    type(m.window(), kBeh + kAlef);
    CodeStrings changed = sampleCodes();
    changed[5 - 1] = "FF";
    m.folder.write(encodeTable(changed));
    EXPECT_EQ(copyFrom(typingOrder, kCArray), "0xA1, 0x0B") << "the file changed after the conversion";
    QTest::keyClicks(&typingOrder, "7F ");
    EXPECT_EQ(copyFrom(typingOrder, kCString), R"("\xA1\x0B")") << "the user typed into the box";

    type(m.window(), "b");  // the next conversion reads the changed file
    EXPECT_EQ(copyFrom(typingOrder, kCArray), "0xFF, 0x0B");

    // Without any glyph the box is empty, so only what the user types into it offers the copy.
    QTest::keyClick(m.window().findChild<QWidget*>("InkEdit1"), Qt::Key_A, Qt::ControlModifier);
    type(m.window(), "b");
    EXPECT_EQ(typingOrder.toPlainText(), "");
    QTest::keyClicks(&typingOrder, "00");
    EXPECT_EQ(copyFrom(typingOrder, kCArray), "");
    EXPECT_EQ(copyFrom(typingOrder, kCString), R"("")");
    EXPECT_EQ(shownWindows(), QStringList{"Form1"});
}

// Thousands of lines' worth of codes, wrapped in the box, pasted and then typed on: read back
// and copied, each box gives its line exactly, without a line break the line does not hold.
TEST(CodeCopy, SelectAllAndCtrlCCopyTheWholeLongLineOfEachBox)
{
    QString pasted;
    for (int word = 0; word < 2'000; ++word)
        pasted += kBeh + kAlef + kBeh + u' ';
    for (const QString& typed : {QString(), kBeh + kBeh + u' ' + kAlef + kBeh}) {
        MainWindow m(sampleCodes());
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keySequence(m.window().findChild<QWidget*>("InkEdit1"), QKeySequence::Paste);
        type(m.window(), typed);
        const ConversionOutput expected = convertText(pasted + typed, sampleCodes());
        for (const auto& [name, line] : {std::pair{"Text1", expected.reverseOrder}, {"Text2", expected.typingOrder}}) {
            const std::string what = name + std::string(typed.isEmpty() ? ", pasted" : ", typed on");
            EXPECT_EQ(textOf(m.window(), name), line) << what << ": read back";
            QPlainTextEdit& box = m.box(name);
            box.setFocus();
            QGuiApplication::clipboard()->setText(kUntouched);
            QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
            EXPECT_EQ(QGuiApplication::clipboard()->text(), line) << what << ": copied";
        }
    }
}

TEST(CodeCopy, ACodeThatIsNoByteLeavesTheClipboardAndIsNamed)
{
    CodeStrings codes = sampleCodes();
    codes[5 - 1] = "G1";
    MainWindow m(codes);
    type(m.window(), kBeh + kAlef);
    const QString message = "Could not copy the codes as C: " + InvalidCode{5, "G1"}.description() + '.';
    qsizetype told = 0;
    for (const char* box : {"Text1", "Text2"}) {
        for (const QString& entry : {kCArray, kCString}) {
            EXPECT_EQ(copyFrom(m.box(box), entry), kUntouched) << box << ' ' << entry.toStdString();
            EXPECT_EQ(shownMessages(), QStringList(++told, message)) << box << ' ' << entry.toStdString();
        }
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the message must not block typing";
}

}  // namespace
}  // namespace harfcode
