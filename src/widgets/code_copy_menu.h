#pragma once

#include "c_source/c_bytes.h"
#include "conversion/code_output.h"

#include <QString>

#include <functional>

class QPlainTextEdit;

namespace harfcode {

// The bytes that a box's codes stand for, asked for when the user copies, or the first code
// that is not a byte.
using CodeBytesSource = std::function<CodeBytes()>;
// Where a copy that could not be made is told.
using ProblemReport = std::function<void(const QString& message)>;

// Gives a box of codes, instead of its standard context menu, that menu followed, after a
// separator, by "Copy as C array" and "Copy as C string", which put the bytes of `source` on
// the clipboard in that form, and last by "Show on Display…", which calls `showOnDisplay`.
// The copy entries are disabled while the box is empty. When a code is not a byte, the
// clipboard keeps what it held and `report` hears which code it is.
void addCodeCopyEntries(QPlainTextEdit& box, CodeBytesSource source, ProblemReport report,
                        std::function<void()> showOnDisplay);

}  // namespace harfcode
