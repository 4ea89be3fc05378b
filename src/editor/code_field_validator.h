#pragma once

#include <QValidator>

namespace harfcode {

// Keeps line breaks out of a code field, typed or pasted: the table file has one line per
// slot, so a code with a line break would shift every slot after it. Keeps out halves of
// surrogate pairs too, which the file could not hold as well-formed text.
class CodeFieldValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;
};

}  // namespace harfcode
