#pragma once

#include "lines/line_output.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <optional>

namespace harfcode {

// Standard output in large pieces: one system call for many lines, not one per line.
class OutputBuffer : public LineOutput {
public:
    // `error`: the errno that writing to `stream` is known to fail with, or 0.
    explicit OutputBuffer(std::FILE* stream, int error = 0);

    // Adds `bytes`; writes the buffer out once it holds a large piece, up to the last whole
    // character (a console shows each piece as text of its own).
    void append(QByteArrayView bytes);
    // What is still to be written, to append to in place; call written() after.
    QByteArray& pending() override { return m_buffer; }
    void written() override;
    // Writes out what is buffered. After a failure nothing more is written.
    void flush();

    bool failed() const { return m_error != 0; }
    bool brokenPipe() const;  // the reader went away, as with `| head`
    QString errorReason() const;

private:
    void write(qsizetype count);

    std::FILE* m_stream;
    QByteArray m_buffer;
    int m_error = 0;  // errno of the first failed write
};

// Flushes `output` and gives the exit status: `status` when all was written, kExitBrokenPipe
// (quietly) when the reader went away, kExitInputOutput (telling `printError`) otherwise.
int finishOutput(OutputBuffer& output, const std::function<void(const QString&)>& printError, int status);

// Where a whole output goes, the header or the font: standard output, or a file replaced
// atomically that may not be one of the files it is made from.
struct WholeOutput {
    QString path;          // empty: standard output
    QString name;          // the output in messages: `the header "…"`, or the path alone
    QStringList inputs;
    bool standardOutputClosed = false;
};

// Writes `bytes` to `output`; gives the exit status, telling `printError` what went wrong.
int writeWholeOutput(const WholeOutput& output, QByteArrayView bytes,
                     const std::function<void(const QString&)>& printError);

// The lines of standard input, read in large pieces. A line ends at LF; a
// CR before it is not part of the line, and a last line without LF counts. Before waiting for
// more input, the output is flushed, so that a person typing lines sees each answer at once.
class LineReader {
public:
    explicit LineReader(OutputBuffer& output);

    // The next line, valid until the next call; nothing at the end of the input or after a
    // read error.
    std::optional<QByteArrayView> next();

    bool failed() const { return m_error != 0; }
    QString errorReason() const;

private:
    bool fill();

    OutputBuffer& m_output;
    QByteArray m_buffer;
    qsizetype m_start = 0;  // where the next line begins in m_buffer
    bool m_atEnd = false;
    int m_error = 0;
};

}  // namespace harfcode
