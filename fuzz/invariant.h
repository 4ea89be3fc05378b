#pragma once

#include <cstdio>
#include <cstdlib>

namespace harfcode::fuzz {

// A broken invariant is a finding: abort, so that libFuzzer keeps the input that broke it.
inline void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

}  // namespace harfcode::fuzz
