#include "cli/system_streams.h"

#include <fcntl.h>
#include <unistd.h>

namespace harfcode {
namespace {

// A closed standard stream would be taken by the next file opened (Qt opens some at start),
// and the output written into it. Reserves its descriptor; says whether it was closed.
bool reserveIfClosed(int descriptor, int mode)
{
    if (::fcntl(descriptor, F_GETFD) != -1)
        return false;
    return ::open("/dev/null", mode) == descriptor;
}

}  // namespace

bool prepareStandardStreams()
{
    // Closed standard input reads as empty; output into a closed standard output fails.
    reserveIfClosed(STDIN_FILENO, O_RDONLY);
    return reserveIfClosed(STDOUT_FILENO, O_WRONLY);
}

bool standardOutputIsTerminal()
{
    return ::isatty(STDOUT_FILENO) == 1;
}

bool writeStandardStream(std::FILE* stream, QByteArrayView bytes)
{
    return writeToFile(stream, bytes);
}

qsizetype readStandardInput(char* buffer, qsizetype size)
{
    ssize_t count;
    do
        count = ::read(STDIN_FILENO, buffer, static_cast<std::size_t>(size));
    while (count < 0 && errno == EINTR);
    return count;
}

}  // namespace harfcode
