#include "editor/form2.h"
#include "support/focus_walk.h"
#include "support/table_folder.h"

#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

using testing::child;
using testing::TableFolder;

// The controls a user sees, with the names they carry.
QList<QWidget*> controlsOf(const Form2& window)
{
    QList<QWidget*> controls;
    for (QLineEdit* field : window.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        controls.append(field);
    for (QPushButton* button : window.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        controls.append(button);
    return controls;
}

TEST(Form2Layout, PlacesEveryControlOfTheRightToLeftGrid)
{
    struct Case {
        QString name;
        QRect geometry;
    };
    const Case cases[] = {
        {"InkEdit1_1", {632, 16, 25, 25}},   {"InkEdit1_0", {672, 16, 25, 25}},
        {"InkEdit1_2", {633, 56, 25, 25}},   {"InkEdit2", {672, 56, 33, 25}},
        {"InkEdit1_15", {633, 576, 25, 25}}, {"InkEdit15", {672, 576, 33, 25}},
        {"InkEdit1_16", {533, 16, 25, 25}},  {"InkEdit16", {568, 16, 33, 25}},
        {"InkEdit1_30", {533, 576, 25, 25}}, {"InkEdit1_31", {433, 16, 25, 25}},
        {"InkEdit31", {472, 16, 33, 25}},    {"InkEdit1_46", {333, 16, 25, 25}},
        {"InkEdit46", {368, 16, 33, 25}},    {"InkEdit1_61", {233, 16, 25, 25}},
        {"InkEdit61", {272, 16, 33, 25}},    {"InkEdit1_76", {133, 16, 25, 25}},
        {"InkEdit76", {168, 16, 33, 25}},    {"InkEdit1_91", {33, 16, 25, 25}},
        {"InkEdit91", {72, 16, 33, 25}},     {"InkEdit1_100", {33, 376, 25, 25}},
        {"InkEdit1_101", {32, 416, 25, 25}}, {"InkEdit1_103", {32, 496, 25, 25}},
        {"InkEdit103", {72, 496, 33, 25}},   {"Command1", {24, 536, 81, 25}},
        {"Command2", {24, 576, 81, 25}},
    };
    TableFolder folder;
    Form2 window(folder.tablePath());
    window.show();
    EXPECT_EQ(window.size(), QSize(730, 617));
    EXPECT_EQ(window.windowTitle(), "Hex Table");
    for (const Case& c : cases) {
        if (QWidget* control = child<QWidget>(window, c.name)) {
            EXPECT_EQ(control->geometry(), c.geometry) << c.name.toStdString();
        }
    }
}

TEST(Form2Layout, ShowsAllControlsAtOnceWithoutOverlapAndKeepsThemOnResize)
{
    TableFolder folder;
    Form2 window(folder.tablePath());
    window.show();
    const QList<QWidget*> controls = controlsOf(window);
    ASSERT_EQ(controls.size(), 103 + 1 + 102 + 2);
    QList<QRect> placed;
    for (QWidget* control : controls) {
        EXPECT_TRUE(window.rect().contains(control->geometry())) << control->objectName().toStdString();
        for (qsizetype other = 0; other < placed.size(); ++other)
            EXPECT_FALSE(placed[other].intersects(control->geometry()))
                << control->objectName().toStdString() << " overlaps " << controls[other]->objectName().toStdString();
        placed.append(control->geometry());
    }
    for (const QSize size : {QSize(1200, 900), QSize(300, 200)}) {
        window.resize(size);
        QApplication::processEvents();
        for (qsizetype index = 0; index < controls.size(); ++index)
            EXPECT_EQ(controls[index]->geometry(), placed[index]) << controls[index]->objectName().toStdString();
    }
}

TEST(Form2Layout, GivesEachKindOfFieldItsFontAndLook)
{
    TableFolder folder;
    Form2 window(folder.tablePath());
    QLineEdit* code = child<QLineEdit>(window, "InkEdit1_74");
    QLineEdit* glyph = child<QLineEdit>(window, "InkEdit74");
    QLineEdit* square = child<QLineEdit>(window, "InkEdit1_0");
    ASSERT_TRUE(code && glyph && square);

    EXPECT_EQ(code->font().family(), "Tahoma");
    EXPECT_DOUBLE_EQ(code->font().pointSizeF(), 9.75);
    EXPECT_FALSE(code->font().bold());
    EXPECT_TRUE(code->hasFrame());
    EXPECT_EQ(code->focusPolicy(), Qt::StrongFocus);

    EXPECT_EQ(glyph->font().family(), "Tahoma");
    EXPECT_DOUBLE_EQ(glyph->font().pointSizeF(), 14.25);
    EXPECT_TRUE(glyph->font().bold());
    EXPECT_FALSE(glyph->hasFrame());
    EXPECT_FALSE(glyph->isReadOnly());
    EXPECT_EQ(glyph->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(glyph->palette().color(QPalette::Base), window.palette().color(QPalette::Window));
    // Where Tahoma is missing its substitute must still have the Arabic presentation forms.
    EXPECT_TRUE(QFontMetrics(glyph->font()).inFont(QChar(0xFE91)));

    EXPECT_EQ(square->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_FALSE(square->hasFrame());
    EXPECT_EQ(square->focusPolicy(), Qt::NoFocus);

    for (const char* name : {"Command1", "Command2"}) {
        if (auto* button = child<QPushButton>(window, name)) {
            EXPECT_FALSE(button->autoDefault()) << name;
            EXPECT_FALSE(button->isDefault()) << name;
        }
    }
}

TEST(Form2Layout, TabRunsThroughTheSlotsThenSaveAndCancel)
{
    TableFolder folder;
    Form2 window(folder.tablePath());
    ASSERT_TRUE(testing::showActive(window));
    EXPECT_EQ(testing::focusName(), "InkEdit1_1");

    QStringList expected;
    for (int slot = 2; slot <= 103; ++slot)
        expected.append(QStringLiteral("InkEdit1_%1").arg(slot));
    expected << "Command1" << "Command2" << "InkEdit1_1";
    EXPECT_EQ(testing::namesReachedByTab(expected.size()), expected);
}

}  // namespace
}  // namespace harfcode
