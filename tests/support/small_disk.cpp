#include "support/small_disk.h"

#include <QFile>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vq::test {

bool runProgram(const QString& program, const QStringList& args, QString* output) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(30000))
        return false;
    if (output)
        *output = QString::fromLocal8Bit(p.readAll()).trimmed();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

SmallDisk::SmallDisk(int kibibytes) {
#ifndef Q_OS_UNIX
    Q_UNUSED(kibibytes);
    m_why = QStringLiteral("no file system of its own can be mounted here");
#else
    if (::geteuid() != 0) {
        m_why = QStringLiteral("mounting a small disk needs root");
        return;
    }
    m_mounted = runProgram(QStringLiteral("mount"),
                           {"-t", "tmpfs", "-o", QStringLiteral("size=%1k").arg(kibibytes),
                            "velquo-test", m_dir.path()},
                           &m_why);
#endif
}

SmallDisk::~SmallDisk() {
    if (m_mounted && !runProgram(QStringLiteral("umount"), {m_dir.path()}))
        runProgram(QStringLiteral("umount"), {"-l", m_dir.path()});
}

bool SmallDisk::fill() {
#ifndef Q_OS_UNIX
    return false;
#else
    const QByteArray path = QFile::encodeName(file(QStringLiteral("filler")));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'f');
    bool full = false;
    // Whole blocks first, then single bytes into what may be left of the last one.
    for (qsizetype chunk : {block.size(), qsizetype(1)}) {
        while (true) {
            const ssize_t n = ::write(fd, block.constData(), static_cast<size_t>(chunk));
            if (n < 0) {
                full = errno == ENOSPC;
                break;
            }
        }
    }
    ::close(fd);
    return full;
#endif
}

void SmallDisk::unfill() {
    QFile::remove(file(QStringLiteral("filler")));
}

ReadOnlyMount::ReadOnlyMount(const QString& folder) : m_folder(folder) {
#ifndef Q_OS_UNIX
    return;
#else
    if (::geteuid() != 0)
        return;
    if (!runProgram(QStringLiteral("mount"), {"--bind", folder, folder}))
        return;
    m_mounted = runProgram(QStringLiteral("mount"), {"-o", "remount,ro,bind", folder});
    if (!m_mounted)
        runProgram(QStringLiteral("umount"), {folder});
#endif
}

ReadOnlyMount::~ReadOnlyMount() {
    if (m_mounted && !runProgram(QStringLiteral("umount"), {m_folder}))
        runProgram(QStringLiteral("umount"), {"-l", m_folder});
}

} // namespace vq::test
