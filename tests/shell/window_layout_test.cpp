#include "editor/form2.h"
#include "shell/form1.h"
#include "support/widget_test_support.h"
#include "widgets/tahoma_font.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRawFont>

namespace harfcode {
namespace {

// The client size, where a sample of controls stands, and the controls Tab visits from the
// one with focus at the start, round to it again.
void expectLayout(QWidget& window, QSize clientSize, const std::vector<std::pair<QString, QRect>>& controls, const QStringList& tabOrder)
{
    const std::string name = window.objectName().toStdString();
    EXPECT_EQ(window.size(), clientSize) << name;
    for (const auto& [control, geometry] : controls) {
        const auto* widget = window.findChild<QWidget*>(control);
        EXPECT_EQ(widget ? widget->geometry() : QRect(), geometry) << name << ' ' << control.toStdString();
    }
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << name;
    for (const QString& control : tabOrder) {
        EXPECT_EQ(QApplication::focusWidget()->objectName(), control) << name;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

TEST(WindowLayout, PlacesControlsAtTheirPixelsAndTabsThroughThemInOrder)
{
    Form1 mainWindow{QString()};  // neither window reads a table until text is typed or it loads
    expectLayout(mainWindow, {802, 472},
                 {{"InkEdit1", {67, 67, 667, 67}}, {"Text1", {67, 200, 667, 67}}, {"Text2", {67, 333, 667, 67}},
                  {"Label1", {384, 37, 36, 17}}, {"Label4", {72, 37, 85, 17}}, {"Command1", {352, 424, 105, 25}}},
                 {"InkEdit1", "Text1", "Text2", "Command1", "InkEdit1"});

    Form2 editor{QString()};
    QStringList editorTabs;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        editorTabs.append(QStringLiteral("InkEdit1_%1").arg(slot));
    expectLayout(editor, {730, 617},
                 {{"InkEdit1_1", {632, 16, 25, 25}}, {"InkEdit1_0", {672, 16, 25, 25}}, {"InkEdit15", {672, 576, 33, 25}},
                  {"InkEdit16", {568, 16, 33, 25}}, {"InkEdit1_91", {33, 16, 25, 25}}, {"InkEdit1_101", {32, 416, 25, 25}},
                  {"InkEdit103", {72, 496, 33, 25}}, {"Command1", {24, 536, 81, 25}}, {"Command2", {24, 576, 81, 25}}},
                 editorTabs << "Command1" << "Command2" << "InkEdit1_1");
}

// Every caption fits its control in the fonts the windows get, "Length :" up to 999,999
// characters included; the glyph fields show their glyphs whole.
TEST(WindowLayout, EveryCaptionAndGlyphFitsItsControl)
{
    const QFont bold = tahomaFont(8.5, true);
    EXPECT_EQ(QFontInfo(bold).family(), "Tahoma");
    EXPECT_EQ(QRawFont::fromFont(bold).styleName(), "Bold") << "bold text in the bold face";
    EXPECT_EQ(QRawFont::fromFont(tahomaFont(8.25)).styleName(), "Regular");

    Form1 mainWindow{QString()};
    Form2 editor{QString()};
    editor.load();  // fills the glyph fields; a missing table only leaves the code fields empty
    const auto fits = [](const QWidget& control, const QString& text) {
        return QFontMetrics(control.font()).horizontalAdvance(text) <= control.contentsRect().width();
    };
    QStringList tooWide;
    for (QLabel* label : mainWindow.findChildren<QLabel*>()) {
        const QString longest = label->objectName() == "Label4" ? lengthCaption(999'999) : label->text();
        if (!fits(*label, longest))
            tooWide.append(label->objectName() + ": " + longest);
    }
    for (const QWidget* window : {static_cast<QWidget*>(&mainWindow), static_cast<QWidget*>(&editor)})
        for (QPushButton* button : window->findChildren<QPushButton*>())
            if (!fits(*button, button->text()))
                tooWide.append(button->objectName());
    for (int slot = 2; slot <= kSlotCount; ++slot) {
        const auto* glyph = editor.findChild<QLineEdit*>(QStringLiteral("InkEdit%1").arg(slot));
        if (!fits(*glyph, glyph->text()) || !QFontMetrics(glyph->font()).inFont(glyph->text().front()))
            tooWide.append(glyph->objectName());
    }
    EXPECT_EQ(tooWide, QStringList());
}

}  // namespace
}  // namespace harfcode
