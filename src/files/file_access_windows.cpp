#include "files/file_access.h"
#include "files/file_refusals.h"

#include <QDir>
#include <QRandomGenerator>

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <string>
#include <utility>

namespace harfcode {
namespace {

// The system's own words for a Win32 error code, as systemReason gives them for errno: one
// line, without the period the system ends its sentences with.
QString windowsReason(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                              | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString reason = length > 0 ? QString::fromWCharArray(text, length).simplified()
                                : QStringLiteral("error %1").arg(error);
    ::LocalFree(text);
    while (reason.endsWith(u'.'))
        reason.chop(1);
    return reason;
}

std::wstring nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// What a call that fills a buffer of the size it is given writes there, in a buffer as large as
// it asks for; empty where it fails (GetLastError() says why).
template <typename Call>
std::wstring filledBuffer(Call call)
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = call(buffer.data(), DWORD(buffer.size()));
        const bool whole = length < buffer.size();
        buffer.resize(whole ? length : length + 1);  // a size asked for counts the final zero
        if (whole)
            return buffer;
    }
}

// `path` from the root of its drive or share.
std::wstring fullPath(const std::wstring& path)
{
    return filledBuffer([&](wchar_t* buffer, DWORD size) {
        return ::GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
}

// The device that the last name in `path` stands for, as Windows reads it in any folder: CON,
// PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9 (also with a superscript ¹, ² or ³ for the
// digit), in any case, with any extension and with blanks or dots after it ("sub\con.h",
// "nul.txt", "COM1 ."). Empty where the name is a file's.
QString deviceNamedBy(const QString& path)
{
    qsizetype start = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
    if (start == 0 && path.size() >= 2 && path[1] == u':')
        start = 2;  // "C:con", in the drive's current folder
    QStringView name = QStringView(path).mid(start);
    const auto chopTrailing = [&name](QStringView characters) {
        while (!name.isEmpty() && characters.contains(name.back()))
            name.chop(1);
    };
    chopTrailing(u". ");
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == u'.' || name[i] == u':') {
            name.truncate(i);
            break;
        }
    }
    chopTrailing(u" ");
    for (const char16_t* device : {u"CON", u"PRN", u"AUX", u"NUL"}) {
        if (name.compare(QStringView(device), Qt::CaseInsensitive) == 0)
            return name.toString().toUpper();
    }
    const bool port = name.size() == 4
        && (name.first(3).compare(u"COM", Qt::CaseInsensitive) == 0
            || name.first(3).compare(u"LPT", Qt::CaseInsensitive) == 0);
    if (port && ((name[3] >= u'1' && name[3] <= u'9') || QStringView(u"\u00B9\u00B2\u00B3").contains(name[3])))
        return name.toString().toUpper();
    return {};
}

class Handle {
public:
    explicit Handle(HANDLE handle)
        : m_handle(handle)
    {
    }
    ~Handle()
    {
        if (valid())
            ::CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    HANDLE release() { return std::exchange(m_handle, INVALID_HANDLE_VALUE); }

private:
    HANDLE m_handle;
};

// What `path` names, be it a file, a folder, a pipe or a device, with links followed. Others
// may go on reading, writing, renaming and deleting it meanwhile, as on POSIX.
Handle openExisting(const std::wstring& path, DWORD access)
{
    return Handle(::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// What a handle is open on: its kind (a file or folder, a device, a pipe) and, for a file or
// folder, what the system tells of it. False where it cannot tell (GetLastError() says why).
bool inspect(HANDLE handle, DWORD& type, BY_HANDLE_FILE_INFORMATION& information)
{
    type = ::GetFileType(handle);
    return type != FILE_TYPE_DISK || ::GetFileInformationByHandle(handle, &information);
}

// Why what a handle is open on is no file; nothing for a regular file.
const char* notAFile(DWORD type, const BY_HANDLE_FILE_INFORMATION& information)
{
    switch (type) {
    case FILE_TYPE_DISK:
        return information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? kFolderRefusal : nullptr;
    case FILE_TYPE_CHAR:
        return kDeviceRefusal;
    case FILE_TYPE_PIPE:
        return kNamedPipeRefusal;
    default:
        return kNotRegularRefusal;
    }
}

FileIdentity identityOfInformation(const BY_HANDLE_FILE_INFORMATION& information)
{
    const auto join = [](DWORD high, DWORD low) { return quint64(high) << 32 | low; };
    // A FILETIME counts 100 ns from 1601; an identity counts nanoseconds from 1970, as on POSIX.
    constexpr qint64 kFrom1601To1970 = 116'444'736'000'000'000;
    const FILETIME& modified = information.ftLastWriteTime;
    return {information.dwVolumeSerialNumber, join(information.nFileIndexHigh, information.nFileIndexLow),
            qint64(join(information.nFileSizeHigh, information.nFileSizeLow)),
            (qint64(join(modified.dwHighDateTime, modified.dwLowDateTime)) - kFrom1601To1970) * 100};
}

}  // namespace

std::variant<std::unique_ptr<QFile>, QString> openForReading(const QString& path, Pipes pipes)
{
    // Opening a port may wait on its driver, and a device is never a file: refused by its name.
    if (!deviceNamedBy(path).isEmpty())
        return QString::fromLatin1(kDeviceRefusal);
    Handle handle = openExisting(nativePath(path), GENERIC_READ);
    if (!handle.valid())
        return windowsReason(::GetLastError());
    DWORD type = FILE_TYPE_UNKNOWN;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!inspect(handle.get(), type, information))
        return windowsReason(::GetLastError());
    const char* reason = notAFile(type, information);
    if (reason && !(type == FILE_TYPE_PIPE && pipes == Pipes::Allowed))
        return QString::fromLatin1(reason);
    // Binary, as no _O_TEXT is given: the bytes are read as they are.
    const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), _O_RDONLY);
    if (descriptor < 0)
        return systemReason(errno);
    handle.release();  // the descriptor owns it now
    auto file = std::make_unique<QFile>(path);
    if (!file->open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::_close(descriptor);
        return file->errorString();
    }
    return file;
}

FileIdentity identityOf(const QFile& file)
{
    BY_HANDLE_FILE_INFORMATION information{};
    ::GetFileInformationByHandle(reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle())), &information);
    return identityOfInformation(information);
}

std::optional<FileIdentity> identityOf(const QString& path)
{
    if (!deviceNamedBy(path).isEmpty())
        return std::nullopt;
    const Handle handle = openExisting(nativePath(path), FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!handle.valid() || !::GetFileInformationByHandle(handle.get(), &information))
        return std::nullopt;
    return identityOfInformation(information);
}

namespace {

// A new file beside the target, which the system deletes however the program ends before it
// is complete: it is marked for deletion while it is written, and unmarked only to be renamed.
class TemporaryFile {
public:
    // ".NAME.XXXXXX" beside the full path `target`; invalid where it could not be made
    // (GetLastError() says why).
    explicit TemporaryFile(const std::wstring& target)
    {
        const std::size_t start = target.find_last_of(L'\\') + 1;
        std::wstring name = target.substr(start);
        // Every file system of Windows holds names of 255 UTF-16 units; a target of a legal name
        // is never refused for its temporary file's, which adds two dots and six characters.
        constexpr std::size_t kRoom = 255 - 8;
        if (name.size() > kRoom)
            name.resize(IS_LOW_SURROGATE(name[kRoom]) ? kRoom - 1 : kRoom);
        static constexpr wchar_t kCharacters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::wstring suffix(6, L' ');
            for (wchar_t& character : suffix)
                character = kCharacters[QRandomGenerator::system()->bounded(int(std::size(kCharacters)) - 1)];
            m_path = target.substr(0, start) + L'.' + name + L'.' + suffix;
            m_handle = ::CreateFileW(m_path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
            if (m_handle != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
        if (m_handle == INVALID_HANDLE_VALUE) {
            m_path.clear();
        } else if (!markForDeletion(true)) {
            const DWORD error = ::GetLastError();
            ::CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE));
            ::DeleteFileW(m_path.c_str());
            m_path.clear();
            ::SetLastError(error);
        }
    }
    ~TemporaryFile()
    {
        if (valid()) {
            markForDeletion(true);
            ::CloseHandle(m_handle);
        } else if (!m_path.empty()) {
            ::DeleteFileW(m_path.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    const std::wstring& path() const { return m_path; }

    // Every byte written and on the disk.
    bool write(QByteArrayView bytes)
    {
        for (qsizetype written = 0; written < bytes.size();) {
            DWORD count = 0;
            const DWORD piece = DWORD(std::min<qsizetype>(bytes.size() - written, 1 << 30));
            if (!::WriteFile(m_handle, bytes.data() + written, piece, &count, nullptr))
                return false;
            written += count;
        }
        return ::FlushFileBuffers(m_handle);
    }
    // Unmarked and closed, so that it may be renamed; from here until then, an ended program
    // leaves it.
    bool close()
    {
        if (!markForDeletion(false))
            return false;
        return ::CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE));
    }
    // Renamed over the target, or kept as the one copy of the new bytes: nothing to delete.
    void keep() { m_path.clear(); }

private:
    bool markForDeletion(bool deleted)
    {
        FILE_DISPOSITION_INFO disposition{deleted};
        return ::SetFileInformationByHandle(m_handle, FileDispositionInfo, &disposition, sizeof disposition);
    }

    std::wstring m_path;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// The file that `path` names once a link (a symbolic link or a junction) in its place is
// followed; the path itself where it is none.
std::wstring linkTarget(const std::wstring& path, HANDLE followed)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    const std::wstring target = filledBuffer([&](wchar_t* buffer, DWORD size) {
        return ::GetFinalPathNameByHandleW(followed, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    });
    return target.empty() ? path : target;
}

}  // namespace

FileReplacement replaceFileAtomically(const QString& path, QByteArrayView bytes, const QStringList& inputs)
{
    const auto failure = [](DWORD error) { return FileReplacement{windowsReason(error), std::nullopt}; };
    const QString device = deviceNamedBy(path);
    // The null device takes any bytes and keeps none: there is nothing to replace.
    if (device == u"NUL")
        return {};
    if (!device.isEmpty())
        return {QString::fromLatin1(kDeviceRefusal), std::nullopt};
    // ReplaceFileW of some systems refuses a name without its folder.
    std::wstring target = fullPath(nativePath(path));
    if (target.empty())
        return failure(::GetLastError());
    bool replacing = false;
    {
        const Handle old = openExisting(target, FILE_READ_ATTRIBUTES);
        replacing = old.valid();
        if (!replacing && ::GetLastError() != ERROR_FILE_NOT_FOUND)
            return failure(::GetLastError());
        if (replacing) {
            DWORD type = FILE_TYPE_UNKNOWN;
            BY_HANDLE_FILE_INFORMATION information{};
            if (!inspect(old.get(), type, information))
                return failure(::GetLastError());
            if (const char* reason = notAFile(type, information))
                return {QString::fromLatin1(reason), std::nullopt};
            if (const std::optional<QString> input = inputThatIs(identityOfInformation(information), inputs))
                return {sameFileRefusal(*input), std::nullopt};
            // A read-only table stays as it is.
            if (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                return failure(ERROR_ACCESS_DENIED);
            target = linkTarget(target, old.get());
        }
    }

    TemporaryFile temporary(target);
    if (!temporary.valid() || !temporary.write(bytes) || !temporary.close())
        return failure(::GetLastError());
    // ReplaceFileW gives the new file what the old one had of its own: its attributes and its
    // access rights.
    if (replacing && ::ReplaceFileW(target.c_str(), temporary.path().c_str(), nullptr, 0, nullptr, nullptr)) {
        temporary.keep();
        return {};
    }
    // A move puts the new file in place where there is no old one: none from the start, one
    // gone meanwhile, or one that ReplaceFileW removed before it failed to rename the new one.
    const DWORD replaceError = replacing ? ::GetLastError() : ERROR_SUCCESS;
    if (replacing && replaceError != ERROR_FILE_NOT_FOUND && replaceError != ERROR_UNABLE_TO_MOVE_REPLACEMENT)
        return failure(replaceError);
    if (!::MoveFileExW(temporary.path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        if (replaceError != ERROR_UNABLE_TO_MOVE_REPLACEMENT)
            return failure(error);
        // The old file is gone already: the new one, all there is, stays where it was written.
        const QString kept = QString::fromStdWString(temporary.path());
        temporary.keep();
        return {QStringLiteral("%1; the new file is \"%2\"").arg(windowsReason(error), kept), std::nullopt};
    }
    temporary.keep();
    return {};
}

}  // namespace harfcode
