#pragma once

class QTextDocument;
class QWidget;

namespace harfcode {

// Keeps the caret of `field`, which shows `document`, shown without blinking while the field
// has the focus and holds a long text. At every blink Qt finds where the caret stands by
// itemizing its whole paragraph again: after a paste of a million characters that takes a
// third of a core and more while nobody types. Only the focused field's caret blinks, so the
// application's flash time is set aside while such a field has the focus, and given back when
// it loses it or its text grows short.
void keepCaretSteadyInLongText(QWidget& field, const QTextDocument& document);

}  // namespace harfcode
