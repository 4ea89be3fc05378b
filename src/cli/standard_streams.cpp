#include "cli/standard_streams.h"

#include "cli/exit_status.h"
#include "cli/system_streams.h"
#include "files/file_access.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace harfcode {
namespace {

constexpr qsizetype kPieceSize = 64 * 1024;

// How many bytes at the end of `bytes` start a UTF-8 character that the rest has not yet
// brought whole.
qsizetype unfinishedCharacter(QByteArrayView bytes)
{
    for (qsizetype back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;  // a continuation byte: look further back for the lead
        const qsizetype length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

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
        write(m_buffer.size() - unfinishedCharacter(m_buffer));
}

void OutputBuffer::flush()
{
    write(m_buffer.size());
}

// Writes the first `count` bytes of the buffer, keeping the rest and the buffer's memory.
void OutputBuffer::write(qsizetype count)
{
    if (!failed() && count > 0 && !writeStandardStream(m_stream, QByteArrayView(m_buffer).first(count)))
        m_error = errno != 0 ? errno : EIO;
    m_buffer.remove(0, failed() ? m_buffer.size() : count);
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

LineReader::LineReader(OutputBuffer& output)
    : m_output(output)
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
    const qsizetype count = readStandardInput(m_buffer.data() + kept, kPieceSize);
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
