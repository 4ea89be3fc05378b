#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <variant>

namespace harfcode {

// What reading and writing files needs of the operating system, in one place: opening a source
// without ever blocking on it, and replacing a file atomically. Written once for POSIX and
// once for Windows.

// The byte-order mark that some editors put at the start of a UTF-8 text file; it is no text.
inline constexpr QByteArrayView kUtf8ByteOrderMark("\xEF\xBB\xBF", 3);

// The system's own words for an errno value ("File name too long").
QString systemReason(int error);

// Whether a pipe or named pipe may stand for a file to read: only where the user named the
// source on a command line (`--table <(make-table)`); there, opening waits for its writer.
enum class Pipes { Refused, Allowed };

// The file at `path` opened for reading, or why it cannot be: anything but a regular file (or
// an allowed pipe) is refused by what it is ("it is a named pipe, not a file"), without ever
// waiting on it. On Windows a device's name (CON, NUL, COM1...), which names the device in any
// folder and with any extension, is refused before anything is opened.
std::variant<std::unique_ptr<QFile>, QString> openForReading(const QString& path, Pipes pipes);

// What tells one state of a file from another without reading it: the file itself (device and
// inode; on Windows the volume's serial number and the file's index), its size and its last
// change (nanoseconds since 1970).
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file open in `file`, or of the one at `path` (none where there is none).
FileIdentity identityOf(const QFile& file);
std::optional<FileIdentity> identityOf(const QString& path);

// What replacing a file did: why it failed (the system's reason), or what of the old file the
// new one could not keep (on POSIX only: on Windows the system carries over what it keeps).
struct FileReplacement {
    std::optional<QString> failure;
    std::optional<QString> notKept;  // e.g. "its owner and group" when a user saves another's file
};

// Replaces the file at `path` with `bytes` atomically: a new file beside it, written and
// flushed to disk, given the old file's mode, owner and group as far as the user may set
// them (on Windows its attributes and access rights), then renamed over it. On any failure
// the previous file stays whole. A link is followed to its target; a target that exists but
// is no regular file (on Windows also a device's name), or that is one of the files `inputs`
// the bytes were made from (through any link or name: on Windows also another case or a short
// name), is refused and left alone. A program ended meanwhile by a signal from outside it
// (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ...) leaves no new file; on Windows, where the
// new file is marked for deletion until it is complete, a program ended in any way leaves
// none. Writing to Windows' null device (NUL) writes nothing and succeeds.
FileReplacement replaceFileAtomically(const QString& path, QByteArrayView bytes, const QStringList& inputs = {});

}  // namespace harfcode
