// The caret of the main window's fields rests, shown, while a field holds a long text: each
// blink would itemize the whole line again. In a short text it blinks as before.
#include "support/widget_test_support.h"

#include <QClipboard>

namespace harfcode {
namespace {

using namespace testing;

// Counts the timer events of a field's text control: its caret's blinks.
class BlinkCounter : public QObject {
public:
    explicit BlinkCounter(QWidget& field)
    {
        for (QObject* child : field.findChildren<QObject*>())
            if (child->inherits("QWidgetTextControl"))
                child->installEventFilter(this);
    }
    int blinks = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        blinks += event->type() == QEvent::Timer;
        return QObject::eventFilter(watched, event);
    }
};

TEST(SteadyCaret, RestsInALongTextAndBlinksInAShortOne)
{
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(100);  // a blink every 50 ms
    Program p;
    Form1& main = p.main();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QWidget* input = &p.input();
    struct Case { const char* what; const char* field; qsizetype length; bool blinks; };
    const Case cases[] = {
        {"a short text in the input", "InkEdit1", 100, true},
        {"a long text in the input", "InkEdit1", 20'000, false},
        {"its long line in English Hex", "Text2", 20'000, false},
        {"a short text again", "InkEdit1", 100, true},
    };
    const auto paste = [input](qsizetype length) {
        input->setFocus();
        QGuiApplication::clipboard()->setText(QString(length, kBeh[0]));
        QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    };
    for (const Case& c : cases) {
        paste(c.length);
        auto* field = main.findChild<QWidget*>(c.field);
        field->setFocus();
        BlinkCounter counter(*field);
        QTest::qWait(300);
        EXPECT_EQ(counter.blinks > 0, c.blinks) << c.what << ": " << counter.blinks << " blinks";
    }
    paste(20'000);
    main.findChild<QWidget*>("Command1")->setFocus();
    EXPECT_EQ(QApplication::cursorFlashTime(), 100) << "leaving the long text gives other fields their blinking back";
    QApplication::setCursorFlashTime(flashTime);
}

}  // namespace
}  // namespace harfcode
