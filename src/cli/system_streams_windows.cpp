#include "cli/system_streams.h"

#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <iterator>

namespace harfcode {
namespace {

// The console behind a standard handle, or nothing where the stream is a file, a pipe or a
// device such as NUL (which the C library's isatty takes for a terminal).
HANDLE consoleOf(DWORD standardHandle)
{
    const HANDLE handle = ::GetStdHandle(standardHandle);
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode) ? handle : nullptr;
}

}  // namespace

bool prepareStandardStreams()
{
    // Text mode would write CR LF for LF and stop reading at byte 0x1A.
    for (std::FILE* stream : {stdin, stdout, stderr})
        ::_setmode(::_fileno(stream), _O_BINARY);
    return ::_fileno(stdout) < 0;
}

bool standardOutputIsTerminal()
{
    return consoleOf(STD_OUTPUT_HANDLE) != nullptr;
}

bool writeStandardStream(std::FILE* stream, QByteArrayView bytes)
{
    const HANDLE console = consoleOf(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (!console)
        return writeToFile(stream, bytes);
    // A console shows UTF-16 as it is; through its code page Persian would turn into question marks.
    const QString text = QString::fromUtf8(bytes);
    for (qsizetype written = 0; written < text.size();) {
        DWORD count = 0;
        const auto piece = static_cast<DWORD>(std::min<qsizetype>(text.size() - written, 16 * 1024));
        if (!::WriteConsoleW(console, text.utf16() + written, piece, &count, nullptr) || count == 0) {
            errno = EIO;
            return false;
        }
        written += count;
    }
    return true;
}

qsizetype readStandardInput(char* buffer, qsizetype size)
{
    const HANDLE console = consoleOf(STD_INPUT_HANDLE);
    if (!console)
        return ::_read(::_fileno(stdin), buffer, static_cast<unsigned>(std::min<qsizetype>(size, INT_MAX)));
    // What is typed into a console comes as UTF-16, a line at a time; a line that starts with
    // Ctrl+Z ends the input, as in every console program. At most a quarter of `size`
    // characters are read, so that their UTF-8 always fits.
    wchar_t typed[4096];
    DWORD count = 0;
    const auto wanted = static_cast<DWORD>(std::min<qsizetype>(qsizetype(std::size(typed)), size / 4));
    if (!::ReadConsoleW(console, typed, wanted, &count, nullptr)) {
        errno = EIO;
        return -1;
    }
    if (count > 0 && typed[0] == L'\x1A')
        return 0;
    const QByteArray text = QString::fromWCharArray(typed, qsizetype(count)).toUtf8();
    std::copy(text.begin(), text.end(), buffer);
    return text.size();
}

}  // namespace harfcode
