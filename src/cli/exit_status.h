#pragma once

namespace harfcode {

// The converter's exit statuses, also listed in --help and the README.
inline constexpr int kExitDone = 0;
inline constexpr int kExitInvalidInput = 1;     // text not UTF-8, a code not a byte, a bad strings file,
                                                // an output that is one of the inputs
inline constexpr int kExitTableUnreadable = 2;
inline constexpr int kExitUsage = 64;
inline constexpr int kExitInternalError = 70;   // an exception that nothing else caught
inline constexpr int kExitInputOutput = 74;     // standard input or output failed
inline constexpr int kExitBrokenPipe = 128 + 13;  // as if ended by SIGPIPE, which may be ignored

}  // namespace harfcode
