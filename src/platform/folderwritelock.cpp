#include "platform/folderwritelock.h"

#include <QFileInfo>
#include <QSet>

#include <mutex>

#if defined(Q_OS_WIN)
#include <QCryptographicHash>

#include <qt_windows.h>
#elif defined(Q_OS_UNIX)
#include <QDir>
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

#if defined(Q_OS_UNIX)
// What a holder of a folder's lock is doing, as far as the system tells.
struct HolderView {
    enum class Kind {
        Unknown,      // not told (no table of locks, or the holder not found in it)
        CannotFinish, // stopped (by a signal or a debugger), or gone with the lock handed down
        Working,      // one of its threads runs, or waits for the disk
        Asleep,       // every thread sleeps
    };
    Kind kind = Kind::Unknown;
    // The processor time its threads have used, in the system's finest unit.
    quint64 time = 0;
};

#if defined(Q_OS_LINUX)
// The state letter and the processor time of one thread, from its stat and schedstat files; a
// state of 0 when the thread is gone.
struct ThreadView {
    char state = 0;
    quint64 time = 0;
};

ThreadView threadView(const QString& task) {
    ThreadView view;
    QFile stat(task + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return view;
    const QByteArray line = stat.read(1024);
    // The program's name in parentheses may hold anything, blanks and parentheses too.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return view;
    view.state = line[close + 2];
    // Nanoseconds on the processor where the kernel keeps them, else user and system ticks.
    QFile schedstat(task + QStringLiteral("/schedstat"));
    if (schedstat.open(QIODevice::ReadOnly)) {
        view.time = schedstat.read(64).split(' ').value(0).toULongLong();
    } else {
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        view.time = fields.value(11).toULongLong() + fields.value(12).toULongLong();
    }
    return view;
}

HolderView processView(const QByteArray& pid) {
    const QString folder =
        QStringLiteral("/proc/") + QLatin1StringView(pid) + QStringLiteral("/task");
    HolderView view;
    bool working = false;
    bool asleep = false;
    bool stopped = false;
    for (const QString& tid : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const ThreadView thread = threadView(folder + u'/' + tid);
        view.time += thread.time;
        working = working || thread.state == 'R' || thread.state == 'D';
        asleep = asleep || thread.state == 'S' || thread.state == 'I';
        // A stopped process's threads all stop: one seen running finishes nothing alone.
        stopped = stopped || thread.state == 'T' || thread.state == 't';
    }
    // No thread left, or only zombies: gone, the lock handed down to another process.
    view.kind = stopped || !(working || asleep) ? HolderView::Kind::CannotFinish
                : working                       ? HolderView::Kind::Working
                                                : HolderView::Kind::Asleep;
    return view;
}

// The holder of the lock of the folder open as `fd`, read from the kernel's table of locks.
HolderView holderView(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {};
    // "1: FLOCK  ADVISORY  WRITE <pid> <major>:<minor>:<inode> 0 EOF"; waiters' lines have "->"
    // after the number.
    const QByteArray file = QString::asprintf("%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                                              static_cast<unsigned long long>(st.st_ino))
                                .toLatin1();
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = locks.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 6 && fields[1] == "FLOCK" && fields[5] == file)
            return processView(fields[4]);
    }
    return {};
}
#else
HolderView holderView(int) {
    return {};
}
#endif

// Whether a holder seen as `before` and then, a turn's wait later, as `after` is not going to
// release the lock soon: it cannot finish, or it slept all along without using any time.
bool givenUp(const HolderView& before, const HolderView& after) {
    using Kind = HolderView::Kind;
    return after.kind == Kind::CannotFinish ||
           (before.kind == Kind::Asleep && after.kind == Kind::Asleep && before.time == after.time);
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
    // at once cannot keep this one out, for as long as the holder is seen working and no longer
    // than kBusyHolderWait. Looking the holder up takes a while itself, so it is only done once
    // the first half of a turn has not brought the lock. A wait given up on leaves its thread to
    // take the lock later, release it at once and so mark the folder free again.
    struct Wait {
        std::mutex mutex;
        std::condition_variable done;
        bool acquired = false;
        bool abandoned = false;
    };
    auto wait = std::make_shared<Wait>();
    std::thread([wait, fd, folder] {
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
    const auto until = std::chrono::steady_clock::now() + kBusyHolderWait;
    const auto acquiredWithin = [&](std::chrono::steady_clock::duration limit) {
        std::unique_lock<std::mutex> guard(wait->mutex);
        return wait->done.wait_for(guard, limit, [&] { return wait->acquired; });
    };
    bool acquired = acquiredWithin(kTurnWait / 2);
    HolderView before;
    if (!acquired)
        before = holderView(fd);
    while (!acquired && before.kind != HolderView::Kind::CannotFinish &&
           std::chrono::steady_clock::now() < until) {
        acquired = acquiredWithin(kTurnWait / 2);
        if (acquired)
            break;
        const HolderView after = holderView(fd);
        if (givenUp(before, after))
            break;
        before = after;
    }
    const std::lock_guard<std::mutex> guard(wait->mutex);
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
    const DWORD limit = isStuck(folder) ? 0 : DWORD(kBusyHolderWait.count());
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
