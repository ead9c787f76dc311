#include "platform/files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cstdio>

#if defined(Q_OS_WIN)
#include <qt_windows.h>

#include <fcntl.h>
#include <io.h>
#elif defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#endif

namespace vq {

#ifdef Q_OS_WIN
// Qt's regular expressions are matched without their just-in-time compiler here. Its stack is
// kept per thread and freed at a thread's end by a thread-local destructor that MinGW's
// runtime calls after the thread's storage is gone, so every program whose helper thread
// matched a pattern (a folder listing with a wildcard is one) crashed when the thread ended.
// Qt reads the switch once, at its first pattern; this runs before main, in every program
// (this file is in each of them).
static const bool kRegularExpressionsInterpreted = [] {
    if (!qEnvironmentVariableIsSet("QT_ENABLE_REGEXP_JIT"))
        qputenv("QT_ENABLE_REGEXP_JIT", "0");
    return true;
}();
#endif

namespace {

ReplacingWriteSteps platformSteps;
// Read by every writer, on whichever thread it writes.
std::atomic<ReplacingWriteSteps*> installedSteps{&platformSteps};

void closeDescriptor(int fd) {
#ifdef Q_OS_WIN
    ::_close(fd);
#else
    ::close(fd);
#endif
}

QString notRegularReason() {
    return QStringLiteral("不是普通文件");
}

const QString kPartialInfix = QStringLiteral(".partial-");
const QString kPartialSuffix = QStringLiteral(".tmp");
// A writer keeps its partial file for milliseconds; one this old is a leftover whatever its
// process number says (the number may have been given to another process since).
constexpr qint64 kStalePartialSeconds = 600;

#ifdef Q_OS_UNIX

int openNonBlocking(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do
        fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens the path for reading without waiting on it; -1 with errno set, or -2 when something
// else than a regular file lies there.
int openRegular(const QString& path) {
    const int fd = openNonBlocking(path);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = errno;
        ::close(fd);
        errno = err;
        return -2;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool processGone(qint64 pid) {
    if (pid <= 0 || pid == QCoreApplication::applicationPid())
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// The file a chain of symbolic links ends at; the path itself when it is no link.
QString linkTarget(const QString& path) {
    QString current = path;
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        const QString next = info.symLinkTarget();
        if (next.isEmpty())
            return current;
        current = next;
    }
    return current;
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

void syncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // The rename is done; a folder that cannot be synced still holds the new file.
    (void)::fsync(fd);
    ::close(fd);
}

#elif defined(Q_OS_WIN)

std::wstring nativePath(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
}

// Opens the path for reading and lets other processes read, write and replace it meanwhile, as
// the platform's own profile functions do: a writer's rename over the file does not fail
// because a reader has it open. -1 when it cannot be opened, -2 when something else than a
// regular file lies there (a folder, a device such as NUL or CON, a pipe).
int openRegular(const QString& path) {
    const HANDLE h = ::CreateFileW(nativePath(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = ::GetLastError();
        errno = err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
        // A folder cannot be opened without backup semantics: it is there, but no file.
        if (err == ERROR_ACCESS_DENIED && QFileInfo(path).isDir())
            return -2;
        return -1;
    }
    if (::GetFileType(h) != FILE_TYPE_DISK) {
        ::CloseHandle(h);
        return -2;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd < 0)
        ::CloseHandle(h);
    return fd;
}

bool processGone(qint64 pid) {
    if (pid <= 0 || pid == QCoreApplication::applicationPid())
        return false;
    const HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!h)
        return ::GetLastError() == ERROR_INVALID_PARAMETER; // no such process
    DWORD code = 0;
    const bool ended = ::GetExitCodeProcess(h, &code) && code != STILL_ACTIVE;
    ::CloseHandle(h);
    return ended;
}

#endif

} // namespace

void removeLeftoverPartials(const QString& target) {
    const QFileInfo info(target);
    const QDir dir = info.absoluteDir();
    const QString prefix = info.fileName() + kPartialInfix;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QStringList names =
        dir.entryList({prefix + u'*' + kPartialSuffix}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!name.startsWith(prefix) || !name.endsWith(kPartialSuffix))
            continue;
        bool ok = false;
        const qint64 pid =
            name.mid(prefix.size(), name.size() - prefix.size() - kPartialSuffix.size())
                .toLongLong(&ok);
        if (!ok || pid == QCoreApplication::applicationPid())
            continue;
        const QFileInfo partial(dir.filePath(name));
        const bool stale =
            partial.lastModified().toUTC().secsTo(now) > kStalePartialSeconds || processGone(pid);
        if (stale)
            QFile::remove(partial.filePath());
    }
}

QString partialFileName(const QString& path) {
    return path + kPartialInfix + QString::number(QCoreApplication::applicationPid()) +
           kPartialSuffix;
}

QByteArray nameForCLibrary(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
#ifdef Q_OS_WIN
    if (QFile::decodeName(name) != path) {
        const std::wstring wide = nativePath(path);
        std::wstring shortName(MAX_PATH, L'\0');
        const DWORD n =
            ::GetShortPathNameW(wide.c_str(), shortName.data(), DWORD(shortName.size()));
        if (n > 0 && n < shortName.size()) {
            shortName.resize(n);
            return QFile::encodeName(QString::fromStdWString(shortName));
        }
    }
#endif
    return name;
}

void useBinaryStandardStreams() {
#ifdef Q_OS_WIN
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
#endif
}

bool isRegularFile(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
#else
    const int fd = openRegular(path);
    if (fd >= 0)
        ::_close(fd);
    return fd >= 0;
#endif
}

std::unique_ptr<RegularFileReader> RegularFileReader::open(const QString& path, Failure* failure) {
    const int fd = openRegular(path);
    if (fd < 0) {
        const bool missing = fd == -1 && (errno == ENOENT || errno == ENOTDIR);
        *failure = fd == -2 ? Failure::NotRegular : missing ? Failure::Missing : Failure::Refused;
        return nullptr;
    }
#ifdef Q_OS_WIN
    const qint64 size = ::_lseeki64(fd, 0, SEEK_END);
#else
    struct stat st {};
    const qint64 size = ::fstat(fd, &st) == 0 ? qint64(st.st_size) : -1;
#endif
    if (size < 0) {
        closeDescriptor(fd);
        *failure = Failure::Refused;
        return nullptr;
    }
    *failure = Failure::None;
    return std::unique_ptr<RegularFileReader>(new RegularFileReader(fd, size));
}

RegularFileReader::~RegularFileReader() {
    closeDescriptor(m_fd);
}

bool RegularFileReader::read(qint64 offset, char* to, qint64 n) const {
    while (n > 0) {
#ifdef Q_OS_WIN
        // A positioned read: the stream handed out shares the file's position, and seeks
        // before each of its reads.
        OVERLAPPED at{};
        at.Offset = DWORD(quint64(offset) & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD(quint64(offset) >> 32);
        DWORD got = 0;
        const auto h = reinterpret_cast<HANDLE>(::_get_osfhandle(m_fd));
        if (!::ReadFile(h, to, DWORD(std::min<qint64>(n, 1 << 30)), &got, &at) || got == 0)
            return false;
#else
        const ssize_t got = ::pread(m_fd, to, size_t(n), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
#endif
        to += got;
        offset += got;
        n -= got;
    }
    return true;
}

std::FILE* RegularFileReader::newStream() const {
#ifdef Q_OS_WIN
    const int copy = ::_dup(m_fd);
    std::FILE* stream = copy >= 0 ? ::_fdopen(copy, "rb") : nullptr;
#else
    const int copy = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    std::FILE* stream = copy >= 0 ? ::fdopen(copy, "rb") : nullptr;
#endif
    if (!stream && copy >= 0)
        closeDescriptor(copy);
    return stream;
}

bool openRegularFile(QFile& file, QString* reason) {
    const int fd = openRegular(file.fileName());
    if (fd < 0) {
        if (reason)
            *reason = fd == -2 ? notRegularReason() : qt_error_string(errno);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        closeDescriptor(fd);
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

ReadResult readRegularFile(const QString& path, qint64 maxBytes, QByteArray* out, bool* wholeFile) {
    out->clear();
    if (wholeFile)
        *wholeFile = true;
    const int fd = openRegular(path);
    if (fd == -2)
        return ReadResult::NotRegular;
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        closeDescriptor(fd);
        return ReadResult::Failed;
    }
    // A buffer of the file's length (and one byte to notice that it grew), grown while more
    // comes: one of the limit's size would be fresh memory, mapped and unmapped, on every read,
    // and the settings file is read once a key.
    out->resize(qsizetype(std::clamp<qint64>(file.size() + 1, 1, std::max<qint64>(maxBytes, 1))));
    qint64 got = 0;
    while (got < maxBytes) {
        if (got == out->size())
            out->resize(qsizetype(std::min<qint64>(maxBytes, got * 2)));
        const qint64 n = file.read(out->data() + got, out->size() - got);
        if (n < 0) {
            out->clear();
            return ReadResult::Failed;
        }
        if (n == 0)
            break;
        got += n;
    }
    out->resize(qsizetype(got));
    if (wholeFile && out->size() == maxBytes) {
        char extra = 0;
        *wholeFile = file.read(&extra, 1) == 0;
    }
    return ReadResult::Ok;
}

namespace {

// Whether the caller's file was replaced since it was read.
bool overtaken(ReplacingWriteSteps& steps, const std::function<bool()>& unchanged) {
    steps.closed();
    return unchanged && !unchanged();
}

#ifdef Q_OS_UNIX
// The new file takes the old one's mode and, where the writer may set them, its owner and group.
bool keepOwnerAndMode(int fd, const struct stat& st) {
    // Root writing a user's file gives it back to the user; a user who may not hand the file
    // to its owner keeps at least its group where allowed. Neither is an error.
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
        if (::fchown(fd, st.st_uid, st.st_gid) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
            // Not even the group: the file stays the writer's, as any new file would.
        }
    }
    return ::fchmod(fd, st.st_mode & 07777) == 0;
}

// Writes, syncs and closes the partial file beside the target, then renames it over the target
// if `unchanged` (when given) still agrees.
ReplaceResult replaceByRename(const QString& path, const QByteArray& bytes,
                              const std::function<bool()>& unchanged) {
    const QString target = linkTarget(QFileInfo(path).absoluteFilePath());
    const QByteArray nativeTarget = QFile::encodeName(target);
    struct stat st {};
    const bool exists = ::stat(nativeTarget.constData(), &st) == 0;
    if (!exists && errno != ENOENT)
        return ReplaceResult::Refused;
    if (exists && !S_ISREG(st.st_mode))
        return ReplaceResult::Refused;

    removeLeftoverPartials(target);
    const QString partial = partialFileName(target);
    const QByteArray nativePartial = QFile::encodeName(partial);
    ::unlink(nativePartial.constData()); // this process's own leftover, if any
    ReplacingWriteSteps& steps = *installedSteps.load();
    int fd = int(steps.create(partial, exists));
    if (fd < 0)
        return ReplaceResult::Refused;
    const auto fail = [&] {
        if (fd >= 0)
            ::close(fd);
        ::unlink(nativePartial.constData());
        return ReplaceResult::Refused;
    };
    if (exists && !keepOwnerAndMode(fd, st))
        return fail();
    if (!steps.write(fd, bytes) || !steps.flush(fd))
        return fail();
    const bool closeFailed = !steps.close(fd);
    fd = -1;
    if (closeFailed)
        return fail();
    if (overtaken(steps, unchanged)) {
        ::unlink(nativePartial.constData());
        return ReplaceResult::Overtaken;
    }
    if (!steps.rename(partial, target))
        return fail();
    syncFolder(QFileInfo(target).absolutePath());
    return ReplaceResult::Replaced;
}
#elif defined(Q_OS_WIN)
bool writeAll(HANDLE h, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const DWORD chunk = DWORD(std::min<qsizetype>(left, 1 << 20));
        DWORD written = 0;
        if (!::WriteFile(h, p, chunk, &written, nullptr) || written == 0)
            return false;
        p += written;
        left -= qsizetype(written);
    }
    return true;
}

// Renames the partial file over the target. A reader that opened the file without letting it
// be replaced (another program, or the platform's own profile functions) holds it for
// moments: the rename is tried again for a bounded time before the write counts as refused.
bool renameOver(const std::wstring& partial, const std::wstring& target) {
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(partial.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD err = ::GetLastError();
        if ((err != ERROR_ACCESS_DENIED && err != ERROR_SHARING_VIOLATION) || attempt >= 200)
            return false;
        ::Sleep(10);
    }
}

// Writes, flushes and closes the partial file beside the target, then renames it over the
// target, as on Unix. A read-only file is refused as it is, not replaced.
ReplaceResult replaceByRename(const QString& path, const QByteArray& bytes,
                              const std::function<bool()>& unchanged) {
    const QString target = QFileInfo(path).absoluteFilePath();
    const std::wstring nativeTarget = nativePath(target);
    const DWORD attributes = ::GetFileAttributesW(nativeTarget.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return ReplaceResult::Refused;
    if (exists &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE)))
        return ReplaceResult::Refused;
    if (!isRegularFile(target) && exists)
        return ReplaceResult::Refused;

    removeLeftoverPartials(target);
    const QString partial = partialFileName(target);
    const std::wstring nativePartial = nativePath(partial);
    ::DeleteFileW(nativePartial.c_str()); // this process's own leftover, if any
    ReplacingWriteSteps& steps = *installedSteps.load();
    NativeFile h = steps.create(partial, exists);
    if (h == -1)
        return ReplaceResult::Refused;
    const auto fail = [&] {
        if (h != -1)
            ::CloseHandle(HANDLE(h));
        ::DeleteFileW(nativePartial.c_str());
        return ReplaceResult::Refused;
    };
    if (!steps.write(h, bytes) || !steps.flush(h))
        return fail();
    const bool closeFailed = !steps.close(h);
    h = -1;
    if (closeFailed)
        return fail();
    if (overtaken(steps, unchanged)) {
        ::DeleteFileW(nativePartial.c_str());
        return ReplaceResult::Overtaken;
    }
    if (!steps.rename(partial, target))
        return fail();
    return ReplaceResult::Replaced;
}
#endif

} // namespace

bool replaceFileContents(const QString& path, const QByteArray& bytes) {
    return replaceByRename(path, bytes, {}) == ReplaceResult::Replaced;
}

ReplaceResult replaceFileContentsIf(const QString& path, const QByteArray& bytes,
                                    const std::function<bool()>& unchanged) {
    return replaceByRename(path, bytes, unchanged);
}

#ifdef Q_OS_UNIX
NativeFile ReplacingWriteSteps::create(const QString& partial, bool replacing) {
    // A new file gets the usual mode for new files; one that replaces another gets that one's,
    // set by the writer before anything is written.
    return ::open(QFile::encodeName(partial).constData(),
                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY,
                  replacing ? 0600 : 0666);
}

bool ReplacingWriteSteps::write(NativeFile file, const QByteArray& bytes) {
    return writeAll(int(file), bytes);
}

bool ReplacingWriteSteps::flush(NativeFile file) {
    // Some file systems cannot sync at all (EINVAL); everywhere else a failed sync means the
    // data may never reach the disk, so the old file stays.
    return ::fsync(int(file)) == 0 || errno == EINVAL;
}

bool ReplacingWriteSteps::close(NativeFile file) {
    return ::close(int(file)) == 0 || errno == EINTR;
}

bool ReplacingWriteSteps::rename(const QString& partial, const QString& target) {
    return ::rename(QFile::encodeName(partial).constData(),
                    QFile::encodeName(target).constData()) == 0;
}
#elif defined(Q_OS_WIN)
NativeFile ReplacingWriteSteps::create(const QString& partial, bool) {
    const HANDLE h = ::CreateFileW(nativePath(partial).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? -1 : NativeFile(h);
}

bool ReplacingWriteSteps::write(NativeFile file, const QByteArray& bytes) {
    return writeAll(HANDLE(file), bytes);
}

bool ReplacingWriteSteps::flush(NativeFile file) {
    return ::FlushFileBuffers(HANDLE(file));
}

bool ReplacingWriteSteps::close(NativeFile file) {
    // The handle goes whatever the close reports: an open one would keep the partial file.
    return ::CloseHandle(HANDLE(file));
}

bool ReplacingWriteSteps::rename(const QString& partial, const QString& target) {
    return renameOver(nativePath(partial), nativePath(target));
}
#endif

void installReplacingWriteSteps(ReplacingWriteSteps* steps) {
    installedSteps.store(steps ? steps : &platformSteps);
}

} // namespace vq
