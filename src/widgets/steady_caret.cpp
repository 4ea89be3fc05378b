#include "widgets/steady_caret.h"

#include <QApplication>
#include <QEvent>
#include <QTextDocument>
#include <QWidget>

#include <optional>
#include <utility>

namespace harfcode {
namespace {

// Where a blink starts to cost a noticeable share of a core.
constexpr int kLongTextCharacters = 10'000;

class SteadyCaret : public QObject {
public:
    SteadyCaret(QWidget& field, const QTextDocument& document)
        : QObject(&field)
        , m_field(field)
        , m_document(document)
    {
        field.installEventFilter(this);
        connect(&document, &QTextDocument::contentsChanged, this, &SteadyCaret::follow);
    }
    ~SteadyCaret() override { setSteady(false); }

protected:
    // Before the field itself: the focus it gains starts its blinking.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            follow();
        return QObject::eventFilter(watched, event);
    }

private:
    void follow() { setSteady(m_field.hasFocus() && m_document.characterCount() > kLongTextCharacters); }

    void setSteady(bool steady)
    {
        if (steady == m_flashTime.has_value())
            return;
        if (steady) {
            m_flashTime = QApplication::cursorFlashTime();
            QApplication::setCursorFlashTime(0);
        } else {
            QApplication::setCursorFlashTime(*std::exchange(m_flashTime, std::nullopt));
        }
    }

    QWidget& m_field;
    const QTextDocument& m_document;
    std::optional<int> m_flashTime;  // the application's, while set aside
};

}  // namespace

void keepCaretSteadyInLongText(QWidget& field, const QTextDocument& document)
{
    new SteadyCaret(field, document);
}

}  // namespace harfcode
