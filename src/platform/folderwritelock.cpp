#include "platform/folderwritelock.h"

#include <QFileInfo>
#include <QSet>

#include <mutex>

#if defined(Q_OS_WIN)
#include <QCryptographicHash>

#include <qt_windows.h>
#elif defined(Q_OS_UNIX)
#include <QFile>

#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#if defined(Q_OS_LINUX)
#include <sys/sysmacros.h>
#endif
#endif

namespace vq {
namespace {

// Folders whose lock this process last saw held past a turn's wait. Their writers only try the
// lock until it is had again: a holder that kept it that long is stuck, and waiting for it at
// every key would add up to seconds over a drag.
// Never destroyed: a waiter thread left behind may still clear its folder while the process
// ends.
struct StuckFolders {
    std::mutex guard;
    QSet<QString> folders;
};
StuckFolders& stuckFolders() {
    static auto* const stuck = new StuckFolders;
    return *stuck;
}

bool isStuck(const QString& folder) {
    StuckFolders& stuck = stuckFolders();
    const std::lock_guard<std::mutex> guard(stuck.guard);
    return stuck.folders.contains(folder);
}

void setStuck(const QString& folder, bool on) {
    StuckFolders& stuck = stuckFolders();
    const std::lock_guard<std::mutex> guard(stuck.guard);
    if (on)
        stuck.folders.insert(folder);
    else
        stuck.folders.remove(folder);
}

#if defined(Q_OS_LINUX)
// The letter of the process's state in /proc/<pid>/stat; 0 when there is no such process.
char processState(const QByteArray& pid) {
    QFile stat(QStringLiteral("/proc/") + QLatin1StringView(pid) + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.read(512);
    // The program's name in parentheses may hold anything, blanks and parentheses too.
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && close + 2 < line.size() ? line[close + 2] : '?';
}

// Whether the process that took the lock of the folder open as `fd` cannot be finishing its
// write: it is stopped (by a signal or a debugger), or it is gone and the lock lives on in a
// descriptor it handed down. Read from the kernel's table of locks; false when that does not
// tell.
bool holderCannotFinish(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    // "1: FLOCK  ADVISORY  WRITE <pid> <major>:<minor>:<inode> 0 EOF"; waiters' lines have "->"
    // after the number.
    const QByteArray file = QString::asprintf("%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                                              static_cast<unsigned long long>(st.st_ino))
                                .toLatin1();
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = locks.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 6 || fields[1] != "FLOCK" || fields[5] != file)
            continue;
        const char state = processState(fields[4]);
        return state == 0 || state == 'T' || state == 't' || state == 'Z' || state == 'X';
    }
    return false;
}
#elif defined(Q_OS_UNIX)
bool holderCannotFinish(int) {
    return false;
}
#endif

} // namespace

FolderWriteLock::FolderWriteLock(const QString& filePath) {
    const QString folder = QFileInfo(filePath).absolutePath();
#if defined(Q_OS_UNIX)
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_lock = fd;
        setStuck(folder, false);
        return;
    }
    // Stuck since an earlier write: a waiter from then is still queued and will tell when the
    // lock comes free.
    if (errno != EWOULDBLOCK || isStuck(folder)) {
        ::close(fd);
        return;
    }
    // Another writer holds it. Wait in the kernel's queue, so that a writer that writes again
    // at once cannot keep this one out, but no longer than a turn, and not at all for a holder
    // that cannot be finishing (looking that up may itself take a while, so the waiter thread
    // does it while the turn runs). A wait given up on leaves its thread to take the lock later,
    // release it at once and so mark the folder free again.
    struct Wait {
        std::mutex mutex;
        std::condition_variable done;
        bool acquired = false;
        bool holderStuck = false;
        bool abandoned = false;
    };
    auto wait = std::make_shared<Wait>();
    std::thread([wait, fd, folder] {
        if (holderCannotFinish(fd)) {
            const std::lock_guard<std::mutex> guard(wait->mutex);
            wait->holderStuck = true;
            wait->done.notify_one();
        }
        int rc;
        do
            rc = ::flock(fd, LOCK_EX);
        while (rc != 0 && errno == EINTR);
        const std::lock_guard<std::mutex> guard(wait->mutex);
        if (wait->abandoned || rc != 0) {
            ::close(fd);
            if (rc == 0)
                setStuck(folder, false);
            return;
        }
        wait->acquired = true;
        wait->done.notify_one();
    }).detach();
    std::unique_lock<std::mutex> guard(wait->mutex);
    wait->done.wait_for(guard, kTurnWait, [&] { return wait->acquired || wait->holderStuck; });
    if (wait->acquired) {
        m_lock = fd;
    } else {
        wait->abandoned = true;
        setStuck(folder, true);
    }
#elif defined(Q_OS_WIN)
    // A folder cannot be locked here: writers of one folder share a mutex named after it (in
    // the user's session, where every writer of the user's files runs). One whose holder died
    // comes to the next waiter, abandoned; the file it was replacing is whole either way. A
    // suspended holder cannot be told from a slow one: the turn's bound covers both.
    const QString name =
        QStringLiteral("Local\\velquo-folder-write-") +
        QString::fromLatin1(
            QCryptographicHash::hash(folder.toLower().toUtf8(), QCryptographicHash::Sha1).toHex());
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (!mutex)
        return;
    const DWORD limit = isStuck(folder) ? 0 : DWORD(kBlindTurnWait.count());
    const DWORD got = ::WaitForSingleObject(mutex, limit);
    if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) {
        m_lock = reinterpret_cast<std::intptr_t>(mutex);
        setStuck(folder, false);
    } else {
        ::CloseHandle(mutex);
        if (got == WAIT_TIMEOUT)
            setStuck(folder, true);
    }
#else
    Q_UNUSED(folder);
#endif
}

FolderWriteLock::~FolderWriteLock() {
    if (m_lock == kNone)
        return;
#if defined(Q_OS_UNIX)
    ::close(int(m_lock)); // releases the lock
#elif defined(Q_OS_WIN)
    const auto mutex = reinterpret_cast<HANDLE>(m_lock);
    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
#endif
}

} // namespace vq
