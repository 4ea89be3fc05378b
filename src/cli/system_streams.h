#pragma once

#include <QByteArrayView>

#include <cerrno>
#include <cstdio>

namespace harfcode {

// What the converter needs of the operating system's standard streams, in one place: bytes in
// and out exactly as given (UTF-8), and on a Windows console the text as the console shows it.

// Before anything is read or written. Says whether standard output was closed when the program
// started: then output fails, as writing into a closed stream does.
bool prepareStandardStreams();

// Whether standard output is a terminal (a console window), not a file, pipe or device.
bool standardOutputIsTerminal();

// Writes `bytes` to the file or pipe `stream`, flushed; false with errno set on failure.
inline bool writeToFile(std::FILE* stream, QByteArrayView bytes)
{
    errno = 0;
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    if (std::fwrite(bytes.data(), 1, size, stream) == size && std::fflush(stream) == 0)
        return true;
    if (errno == 0)
        errno = EIO;
    return false;
}

// Writes `bytes` (UTF-8) to `stream`, stdout or stderr, flushed; false with errno set on
// failure. On a console each call's bytes are shown as text of their own, so a character must
// not be cut between calls.
bool writeStandardStream(std::FILE* stream, QByteArrayView bytes);

// Reads at most `size` bytes of standard input into `buffer`, UTF-8, as much as is there
// without waiting for more; 0 at the end. Gives -1 and sets errno on failure.
qsizetype readStandardInput(char* buffer, qsizetype size);

}  // namespace harfcode
