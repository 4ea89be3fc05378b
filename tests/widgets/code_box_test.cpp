// The code box against a plain text box holding the same line: whatever the user sees, does,
// reads or copies must be the same.
#include "support/widget_test_support.h"
#include "widgets/code_box.h"
#include "widgets/tahoma_font.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QWheelEvent>

#include <functional>

namespace harfcode {
namespace {

// `count` codes joined by two blanks, as a conversion joins them; the codes vary in width,
// and an empty one leaves four blanks in a row.
QString codeLine(int count)
{
    const QStringList codes{"A1", "0B", "FF", "", "7", "c3", "20", "WM"};
    QStringList line;
    for (int index = 0; index < count; ++index)
        line.append(codes[index % codes.size()]);
    return line.join("  ");
}

// Both boxes as the main window sets them up, side by side in one shown window.
struct BoxPair {
    BoxPair()
    {
        codeBox.setObjectName("code");
        window.resize(700, 160);
        for (auto [box, top] : {std::pair<QPlainTextEdit*, int>{&codeBox, 10}, {&plainBox, 90}}) {
            box->setParent(&window);
            box->setGeometry(10, top, 667, 67);
            box->setFont(tahomaFont(8.25));
            box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            box->setTabChangesFocus(true);
            // Neither draws a caret, so that their pictures can be compared.
            box->setFocusPolicy(Qt::NoFocus);
        }
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void show(const QString& line)
    {
        codeBox.showLine(line);
        plainBox.setPlainText(line);
    }
    // What the user sees of each box, and where its caret and selection are.
    void expectAlike(const std::string& what)
    {
        EXPECT_TRUE(codeBox.viewport()->grab().toImage() == plainBox.viewport()->grab().toImage()) << what << ": what the box shows";
        const auto caret = [](const QPlainTextEdit& box) { return std::pair(box.textCursor().anchor(), box.textCursor().position()); };
        EXPECT_EQ(caret(codeBox), caret(plainBox)) << what << ": the selection's anchor and the caret";
        EXPECT_EQ(testing::textOf(window, "code"), plainBox.toPlainText()) << what << ": the text read back";
    }

    QWidget window;
    CodeBox codeBox;
    QPlainTextEdit plainBox;
};

void keys(QPlainTextEdit& box, std::initializer_list<QKeyCombination> combinations)
{
    for (const QKeyCombination combination : combinations)
        QTest::keyClick(&box, combination.key(), combination.keyboardModifiers());
}

void scrollDown(QPlainTextEdit& box)
{
    const QPointF at = box.viewport()->rect().center();
    QWheelEvent wheel(at, box.viewport()->mapToGlobal(at), {}, {0, -240}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box.viewport(), &wheel);
}

TEST(CodeBox, ShowsAndDoesWhatAPlainBoxWithTheSameLineDoes)
{
    struct Case { const char* what; std::function<void(QPlainTextEdit&)> action; };
    const Case cases[] = {
        {"nothing done", [](QPlainTextEdit&) {}},
        {"caret moved below the box", [](QPlainTextEdit& box) { keys(box, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}); }},
        {"caret to the end of the text", [](QPlainTextEdit& box) { keys(box, {Qt::ControlModifier | Qt::Key_End}); }},
        {"a page down selected", [](QPlainTextEdit& box) { keys(box, {Qt::ShiftModifier | Qt::Key_PageDown, Qt::ShiftModifier | Qt::Key_End}); }},
        {"scrolled with the wheel", scrollDown},
        {"typed into below the box", [](QPlainTextEdit& box) { keys(box, {Qt::Key_PageDown, Qt::Key_End, Qt::Key_X, Qt::Key_Return}); }},
        {"emptied and undone", [](QPlainTextEdit& box) { keys(box, {Qt::ControlModifier | Qt::Key_A, Qt::Key_Delete, Qt::ControlModifier | Qt::Key_Z}); }},
        {"typed, undone, nothing more to undo", [](QPlainTextEdit& box) { keys(box, {Qt::Key_Y, Qt::ControlModifier | Qt::Key_Z, Qt::ControlModifier | Qt::Key_Z}); }},
        {"clicked into the second line", [](QPlainTextEdit& box) { QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, {200, 20}); }},
        {"narrowed", [](QPlainTextEdit& box) { box.resize(500, 67); }},
    };
    for (const int codes : {10, 1'000, 30'000}) {
        const QString line = codeLine(codes);
        for (const Case& c : cases) {
            BoxPair boxes;
            boxes.show(line);
            const std::string what = std::to_string(codes) + " codes, " + c.what;
            boxes.expectAlike(what + ", before");
            c.action(boxes.codeBox);
            c.action(boxes.plainBox);
            boxes.expectAlike(what);
        }
    }
}

// The lines a keystroke in the input gives one after the other, and other changes.
TEST(CodeBox, ShowsEachNextLineAsAPlainBoxDoesWithoutLayingOutTheMiddle)
{
    struct Step { const char* what; QString line; bool paragraphsKept; };
    const QString first = codeLine(1'000);
    const Step steps[] = {
        {"a code added at the end", first + "  5E", true},
        {"the last code changed, another added", first + "  5F  60", true},
        {"a code added at the start", "77  " + first + "  5F  60", true},
        {"the first code removed", first + "  5F  60", true},
        {"the same line again", first + "  5F  60", true},
        {"a code changed in the middle", QString(first + "  5F  60").replace(2000, 2, "QQ"), true},
        {"a line too short for paragraphs", codeLine(10), false},
        {"a long line again", first, true},
    };
    BoxPair boxes;
    boxes.show(first);
    const QTextDocument& document = *boxes.codeBox.document();
    for (const Step& step : steps) {
        boxes.show(step.line);
        boxes.expectAlike(step.what);
        EXPECT_EQ(boxes.codeBox.plainText(), step.line) << step.what;
        if (!step.paragraphsKept)
            continue;
        ASSERT_EQ(document.blockCount(), 3) << step.what;
        EXPECT_EQ(document.findBlockByNumber(1).layout()->lineCount(), 0) << step.what << ": the middle is laid out";
    }
}

// Ctrl+A joins the paragraphs before it selects (the main window's copy test goes that way);
// selectAll() and copy() called directly copy from the paragraphs themselves.
TEST(CodeBox, CopiesTheWholeLineWithItsBlanksFromItsParagraphs)
{
    const QString line = codeLine(30'000);
    BoxPair boxes;
    boxes.codeBox.showLine(line);
    ASSERT_EQ(boxes.codeBox.document()->blockCount(), 3);
    QGuiApplication::clipboard()->clear();
    boxes.codeBox.selectAll();
    boxes.codeBox.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), line);
    EXPECT_EQ(boxes.codeBox.plainText(), line);
}

}  // namespace
}  // namespace harfcode
