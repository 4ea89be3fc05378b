#pragma once

namespace harfcode {

inline constexpr int kNoWindows1256Value = -1;

// The Windows-1256 byte (0..255) of a UTF-16 unit, as Windows converts text to the Arabic
// code page with best fit, or kNoWindows1256Value where Windows has no mapping (and for
// every surrogate). Persian digits take the values of "0" to "9".
int windows1256Value(char16_t unit);

}  // namespace harfcode
