#include "cli/standard_streams.h"

#include "cli/exit_status.h"
#include "files/file_access.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace harfcode {
namespace {

constexpr qsizetype kPieceSize = 64 * 1024;

}  // namespace

OutputBuffer::OutputBuffer(std::FILE* stream, int error)
    : m_stream(stream)
    , m_error(error)
{
    m_buffer.reserve(2 * kPieceSize);
}

void OutputBuffer::append(QByteArrayView bytes)
{
    m_buffer.append(bytes);
    written();
}

void OutputBuffer::written()
{
    if (m_buffer.size() >= kPieceSize)
        flush();
}

void OutputBuffer::flush()
{
    if (!failed() && !m_buffer.isEmpty()) {
        errno = 0;
        const std::size_t size = static_cast<std::size_t>(m_buffer.size());
        if (std::fwrite(m_buffer.constData(), 1, size, m_stream) != size || std::fflush(m_stream) != 0)
            m_error = errno != 0 ? errno : EIO;
    }
    m_buffer.resize(0);  // keeps its memory for the next piece
}

bool OutputBuffer::brokenPipe() const
{
    return m_error == EPIPE;
}

QString OutputBuffer::errorReason() const
{
    return systemReason(m_error);
}

int finishOutput(OutputBuffer& output, const std::function<void(const QString&)>& printError, int status)
{
    output.flush();
    if (output.brokenPipe())
        return kExitBrokenPipe;
    if (output.failed()) {
        printError(QStringLiteral("cannot write standard output: %1").arg(output.errorReason()));
        return kExitInputOutput;
    }
    return status;
}

int writeWholeOutput(const WholeOutput& output, QByteArrayView bytes,
                     const std::function<void(const QString&)>& printError)
{
    if (output.path.isEmpty()) {
        OutputBuffer standardOutput(stdout, output.standardOutputClosed ? EBADF : 0);
        standardOutput.append(bytes);
        return finishOutput(standardOutput, printError, kExitDone);
    }
    const FileReplacement written = replaceFileAtomically(output.path, bytes, output.inputs);
    if (written.notKept)
        printError(QStringLiteral("warning: %1 could not keep %2.").arg(output.name, *written.notKept));
    if (written.failure) {
        printError(QStringLiteral("cannot write %1: %2.").arg(output.name, *written.failure));
        return kExitInvalidInput;
    }
    return kExitDone;
}

LineReader::LineReader(int descriptor, OutputBuffer& output)
    : m_descriptor(descriptor)
    , m_output(output)
{
}

std::optional<QByteArrayView> LineReader::next()
{
    for (;;) {
        const char* begin = m_buffer.constData() + m_start;
        const qsizetype available = m_buffer.size() - m_start;
        if (const auto* end = static_cast<const char*>(std::memchr(begin, '\n', static_cast<std::size_t>(available)))) {
            qsizetype length = end - begin;
            m_start += length + 1;
            if (length > 0 && begin[length - 1] == '\r')
                --length;
            return QByteArrayView(begin, length);
        }
        if (m_atEnd) {
            if (available == 0)
                return std::nullopt;
            m_start = m_buffer.size();
            return QByteArrayView(begin, available - (begin[available - 1] == '\r' ? 1 : 0));
        }
        if (!fill())
            return std::nullopt;
    }
}

// Keeps the unfinished line and reads what is there after it, without waiting for a whole piece.
bool LineReader::fill()
{
    m_buffer.remove(0, m_start);
    m_start = 0;
    m_output.flush();
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + kPieceSize);
    ssize_t count;
    do
        count = ::read(m_descriptor, m_buffer.data() + kept, kPieceSize);
    while (count < 0 && errno == EINTR);
    m_buffer.resize(kept + std::max<qsizetype>(count, 0));
    if (count < 0) {
        m_error = errno;
        return false;
    }
    m_atEnd = count == 0;
    return true;
}

QString LineReader::errorReason() const
{
    return systemReason(m_error);
}

}  // namespace harfcode
