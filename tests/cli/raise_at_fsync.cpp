// Preloaded into the converter: raises the signal numbered in HARFCODE_RAISE_AT_FSYNC at the
// first fsync(), the moment a replaced file is fully written but not yet renamed. A test so
// ends the program at a fixed point instead of after a delay.
#include <dlfcn.h>

#include <csignal>
#include <cstdlib>

extern "C" int fsync(int descriptor)
{
    static bool raised = false;
    if (const char* signal = std::getenv("HARFCODE_RAISE_AT_FSYNC"); signal && !raised) {
        raised = true;
        std::raise(std::atoi(signal));
    }
    using Fsync = int (*)(int);
    static const auto next = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
    return next(descriptor);
}
