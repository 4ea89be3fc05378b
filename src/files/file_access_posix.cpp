#include "files/file_access.h"
#include "files/file_refusals.h"

#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <iterator>
#include <utility>

namespace harfcode {
namespace {

// Why a file of this kind is no table source; nothing for a regular file.
const char* notAFile(mode_t mode)
{
    if (S_ISREG(mode))
        return nullptr;
    if (S_ISDIR(mode))
        return kFolderRefusal;
    if (S_ISFIFO(mode))
        return kNamedPipeRefusal;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return kDeviceRefusal;
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    return kNotRegularRefusal;
}

std::variant<std::unique_ptr<QFile>, QString> openDescriptor(const QString& path, int flags)
{
    int descriptor;
    do
        descriptor = ::open(QFile::encodeName(path).constData(), flags | O_RDONLY | O_CLOEXEC);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return systemReason(errno);
    auto file = std::make_unique<QFile>(path);
    if (!file->open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return file->errorString();
    }
    return file;
}

}  // namespace

std::variant<std::unique_ptr<QFile>, QString> openForReading(const QString& path, Pipes pipes)
{
    // Without O_NONBLOCK, opening a named pipe waits for a writer, maybe forever.
    auto opened = openDescriptor(path, O_NONBLOCK);
    auto* file = std::get_if<std::unique_ptr<QFile>>(&opened);
    if (!file)
        return opened;
    struct stat status {};
    if (::fstat((*file)->handle(), &status) != 0)
        return systemReason(errno);
    if (S_ISFIFO(status.st_mode) && pipes == Pipes::Allowed)
        return openDescriptor(path, 0);  // waits for the writer, as cat does
    if (const char* reason = notAFile(status.st_mode))
        return QString::fromLatin1(reason);
    // Reading a regular file never blocks; clearing the flag keeps it an ordinary descriptor.
    ::fcntl((*file)->handle(), F_SETFL, ::fcntl((*file)->handle(), F_GETFL) & ~O_NONBLOCK);
    return opened;
}

namespace {

FileIdentity identityOfStatus(const struct stat& status)
{
    return {quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

}  // namespace

FileIdentity identityOf(const QFile& file)
{
    struct stat status {};
    ::fstat(file.handle(), &status);
    return identityOfStatus(status);
}

std::optional<FileIdentity> identityOf(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return identityOfStatus(status);
}

namespace {

// The file a path names once its links are followed; the path itself when it is no link. A
// link to a file not yet there names that file.
QString linkTarget(const QString& path)
{
    QString target = path;
    for (int links = 0; links < 40 && QFileInfo(target).isSymLink(); ++links)
        target = QFileInfo(target).symLinkTarget();
    return target;
}

// The temporary file being written, for the signal handler, which may only read plain memory.
char g_temporaryPath[PATH_MAX];
volatile std::sig_atomic_t g_temporaryExists = 0;

// Every signal whose default action ends the program and that may come from outside it while
// a file is written (SIGXFSZ from the file size limit, SIGXCPU from the processor time limit).
constexpr int kEndingSignals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,   SIGPIPE, SIGALRM,
                                  SIGUSR1, SIGUSR2, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF};

// An interrupted program leaves no temporary file behind, and still dies of the signal, so
// that a calling shell or make stops too.
extern "C" void removeTemporaryFileAndDie(int signal)
{
    if (g_temporaryExists)
        ::unlink(g_temporaryPath);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// A hidden file beside the target, removed again unless it was renamed over the target; also
// when the program is ended by a signal while it exists.
class TemporaryFile {
public:
    explicit TemporaryFile(QByteArray pattern)
        : m_path(std::move(pattern))
    {
        const bool watched = m_path.size() < qsizetype(sizeof g_temporaryPath);
        if (watched)
            blockEndingSignals(SIG_BLOCK);
        descriptor = ::mkostemp(m_path.data(), O_CLOEXEC);
        const int error = errno;
        if (watched && descriptor >= 0) {
            std::memcpy(g_temporaryPath, m_path.constData(), std::size_t(m_path.size()) + 1);
            g_temporaryExists = 1;
            struct sigaction action {};
            action.sa_handler = removeTemporaryFileAndDie;
            sigemptyset(&action.sa_mask);
            for (int signal : kEndingSignals)
                sigaddset(&action.sa_mask, signal);
            for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
                ::sigaction(kEndingSignals[i], nullptr, &m_previous[i]);
                // A signal the caller ignores (nohup) stays ignored.
                if (m_previous[i].sa_handler != SIG_IGN)
                    ::sigaction(kEndingSignals[i], &action, nullptr);
            }
            m_watched = true;
        }
        if (watched)
            blockEndingSignals(SIG_UNBLOCK);
        if (descriptor < 0)
            m_path.clear();
        errno = error;
    }
    ~TemporaryFile()
    {
        if (descriptor >= 0)
            ::close(descriptor);
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
        if (m_watched) {
            g_temporaryExists = 0;
            for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
                ::sigaction(kEndingSignals[i], &m_previous[i], nullptr);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const QByteArray& path() const { return m_path; }
    // Renamed over the target: there is nothing left to remove.
    void renamed()
    {
        g_temporaryExists = 0;
        m_path.clear();
    }

    int descriptor = -1;

private:
    // The handler must never see the path half written.
    static void blockEndingSignals(int how)
    {
        sigset_t signals;
        sigemptyset(&signals);
        for (int signal : kEndingSignals)
            sigaddset(&signals, signal);
        ::sigprocmask(how, &signals, nullptr);
    }

    QByteArray m_path;
    bool m_watched = false;
    struct sigaction m_previous[std::size(kEndingSignals)] {};
};

// ".NAME.XXXXXX", with NAME cut back at a whole UTF-8 character where the folder's longest
// name could not hold it: a target of a legal name is never refused for its temporary file.
QByteArray temporaryName(const QByteArray& folder, QByteArray name)
{
    constexpr qsizetype kAdded = 8;  // the dot before, the dot and six characters after
    const long longest = ::pathconf(folder.constData(), _PC_NAME_MAX);
    const qsizetype room = (longest > 0 ? qsizetype(longest) : NAME_MAX) - kAdded;
    if (name.size() > room) {
        qsizetype cut = std::max<qsizetype>(room, 0);
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.truncate(cut);
    }
    return '.' + name + ".XXXXXX";
}

bool writeAll(int descriptor, QByteArrayView bytes)
{
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t count = ::write(descriptor, bytes.data() + written, static_cast<std::size_t>(bytes.size() - written));
        if (count < 0 && errno != EINTR)
            return false;
        written += std::max<ssize_t>(count, 0);
    }
    return true;
}

}  // namespace

FileReplacement replaceFileAtomically(const QString& path, QByteArrayView bytes, const QStringList& inputs)
{
    const auto failure = [](int error) { return FileReplacement{systemReason(error), std::nullopt}; };
    const QByteArray target = QFile::encodeName(linkTarget(path));
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    if (!replacing && errno != ENOENT)
        return failure(errno);
    if (replacing) {
        if (const char* reason = notAFile(old.st_mode))
            return {QString::fromLatin1(reason), std::nullopt};
        if (const std::optional<QString> input = inputThatIs(identityOfStatus(old), inputs))
            return {sameFileRefusal(*input), std::nullopt};
        // Root may write anywhere; for everybody else a read-only table stays as it is.
        if (::access(target.constData(), W_OK) != 0)
            return failure(errno);
    }

    const QByteArray name = QFile::encodeName(QFileInfo(QFile::decodeName(target)).fileName());
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
    TemporaryFile temporary(folder + '/' + temporaryName(folder, name));
    if (temporary.descriptor < 0)
        return failure(errno);
    if (!writeAll(temporary.descriptor, bytes) || ::fsync(temporary.descriptor) != 0)
        return failure(errno);

    FileReplacement result;
    if (replacing) {
        // The mode always, as the file's owner; owner and group as far as this user may.
        if (::fchmod(temporary.descriptor, old.st_mode & 07777) != 0)
            return failure(errno);
        struct stat made {};
        ::fstat(temporary.descriptor, &made);
        const bool ownerKept = made.st_uid == old.st_uid || ::fchown(temporary.descriptor, old.st_uid, -1) == 0;
        const bool groupKept = made.st_gid == old.st_gid || ::fchown(temporary.descriptor, -1, old.st_gid) == 0;
        if (!ownerKept || !groupKept)
            result.notKept = ownerKept ? QStringLiteral("its group") : groupKept ? QStringLiteral("its owner")
                                                                                 : QStringLiteral("its owner and group");
        // A changed owner may drop the set-user and set-group bits: give the mode once more.
        ::fchmod(temporary.descriptor, old.st_mode & 07777);
    } else {
        // As a file created the ordinary way: readable and writable as far as the umask allows.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(temporary.descriptor, 0666 & ~mask) != 0)
            return failure(errno);
    }
    const int descriptor = std::exchange(temporary.descriptor, -1);
    if (::close(descriptor) != 0)
        return failure(errno);
    if (::rename(temporary.path().constData(), target.constData()) != 0)
        return failure(errno);
    temporary.renamed();
    // The rename itself reaches the disk with its folder.
    const int folderDescriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return result;
}

}  // namespace harfcode
