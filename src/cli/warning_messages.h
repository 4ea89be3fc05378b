#pragma once

#include "lines/conversion_warnings.h"

#include <QString>

#include <functional>

namespace harfcode {

// The converter's warnings in words, each told through `print`.
ConversionWarnings::Sink warningPrinter(std::function<void(const QString&)> print);

}  // namespace harfcode
