#include "form1_test_support.h"
#include "support/focus_walk.h"

#include <QApplication>
#include <QPushButton>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

using namespace harfcode::testing;

TEST(Form1Layout, PlacesEveryControlWithItsFontAndKeepsItOnResize)
{
    struct Case {
        QString name;
        QRect geometry;
        qreal pointSize;  // 0 for the platform's default font
        bool bold;
    };
    const Case cases[] = {
        {"InkEdit1", {67, 67, 667, 67}, 8.5, true},
        {"Text1", {67, 200, 667, 67}, 8.25, false},
        {"Text2", {67, 333, 667, 67}, 8.25, false},
        {"Label1", {384, 37, 36, 17}, 8.25, false},
        {"Label2", {333, 170, 133, 17}, 8.25, false},
        {"Label3", {333, 303, 133, 17}, 8.25, false},
        {"Label4", {72, 37, 85, 17}, 8.25, false},
        {"Command1", {352, 424, 105, 25}, 0, false},
    };
    TableFolder folder;
    Form1 window(folder.tablePath());
    window.show();
    EXPECT_EQ(window.size(), QSize(802, 472));
    EXPECT_EQ(window.windowTitle(), "Harfcode");
    for (const QSize size : {QSize(802, 472), QSize(1400, 900), QSize(200, 100)}) {
        window.resize(size);
        QApplication::processEvents();
        for (const Case& c : cases) {
            QWidget* control = child<QWidget>(window, c.name);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->geometry(), c.geometry) << c.name.toStdString() << " at " << size.width();
            if (c.pointSize == 0)
                continue;
            EXPECT_EQ(control->font().family(), "Tahoma") << c.name.toStdString();
            EXPECT_DOUBLE_EQ(control->font().pointSizeF(), c.pointSize) << c.name.toStdString();
            EXPECT_EQ(control->font().bold(), c.bold) << c.name.toStdString();
        }
    }
}

TEST(Form1Layout, StartsWithCaptionsAndEmptyFieldsSetUpAsRequired)
{
    TableFolder folder;
    Form1 window(folder.tablePath());
    const std::pair<const char*, Qt::Alignment> labels[] = {
        {"Label1", Qt::AlignHCenter}, {"Label2", Qt::AlignHCenter}, {"Label3", Qt::AlignHCenter}, {"Label4", Qt::AlignLeft}};
    const char* captions[] = {"Text", "Persian Hex", "English Hex", "Length : 0"};
    for (int index = 0; index < 4; ++index) {
        auto* label = child<QLabel>(window, labels[index].first);
        EXPECT_EQ(label->text(), captions[index]);
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, labels[index].second) << labels[index].first;
    }
    for (const char* name : {"Text1", "Text2"}) {
        auto* box = child<QPlainTextEdit>(window, name);
        EXPECT_EQ(box->toPlainText(), "");
        EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_FALSE(box->isReadOnly());
    }
    QTextEdit* input = inputOf(window);
    EXPECT_TRUE(input->toPlainText().isEmpty());
    EXPECT_FALSE(input->acceptRichText());
    auto* hexTable = child<QPushButton>(window, "Command1");
    EXPECT_EQ(hexTable->text(), "Hex Table");
    EXPECT_FALSE(hexTable->autoDefault());
    EXPECT_FALSE(hexTable->isDefault());
}

TEST(Form1Layout, TabCyclesInputOutputsAndButton)
{
    TableFolder folder;
    Form1 window(folder.tablePath());
    ASSERT_TRUE(showActive(window));
    EXPECT_EQ(focusName(), "InkEdit1");
    EXPECT_EQ(namesReachedByTab(4), (QStringList{"Text1", "Text2", "Command1", "InkEdit1"}));
    EXPECT_EQ(inputOf(window)->toPlainText(), "") << "Tab moves on instead of typing a tab";
}

}  // namespace
}  // namespace harfcode
