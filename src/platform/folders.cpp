#include "platform/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QProcessEnvironment>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vq {

namespace {

QString withSeparator(QString folder) {
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    return folder;
}

#ifdef Q_OS_UNIX
bool modeAllowsWrite(const QString& path) {
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &st) != 0)
        return false;
    const uid_t uid = ::geteuid();
    if (uid == st.st_uid || uid == 0)
        return (st.st_mode & S_IWUSR) != 0;
    if (::getegid() == st.st_gid)
        return (st.st_mode & S_IWGRP) != 0;
    return (st.st_mode & S_IWOTH) != 0;
}
#endif
} // namespace

QString programFileName(const QString& base) {
#ifdef Q_OS_WIN
    return base + QStringLiteral(".exe");
#else
    return base;
#endif
}

void letCopyLoadFrom(const QString& originalFolder, const QString& copyFolder,
                     QProcessEnvironment* env) {
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(QDir(originalFolder).absolutePath());
    env->insert(QStringLiteral("PATH"), native + u';' + env->value(QStringLiteral("PATH")));
    // Relative paths in qt.conf are taken from the copy's folder; the original's are absolute.
    const QString prefix = QDir(originalFolder).absolutePath();
    QFile conf(QDir(copyFolder).filePath(QStringLiteral("qt.conf")));
    if (conf.open(QIODevice::WriteOnly))
        conf.write(QStringLiteral("[Paths]\r\nPrefix = %1\r\nPlugins = .\r\nTranslations = "
                                  "translations\r\n")
                       .arg(prefix)
                       .toUtf8());
#else
    Q_UNUSED(originalFolder);
    Q_UNUSED(copyFolder);
    Q_UNUSED(env);
#endif
}

namespace {

QString executableFolder() {
#ifdef Q_OS_LINUX
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (!exe.isEmpty())
        return withSeparator(QFileInfo(exe).absolutePath());
#endif
    return withSeparator(QCoreApplication::applicationDirPath());
}

// The folder in use, found at the first ask once the application exists (the executable does
// not move while it runs), or the one given; asked from the show's writer threads too.
QMutex heldFolderMutex;
QString heldFolder;

} // namespace

QString programFolder() {
    const QMutexLocker lock(&heldFolderMutex);
    if (heldFolder.isEmpty()) {
        const QString found = executableFolder();
        if (!QCoreApplication::instance())
            return found;
        heldFolder = found;
    }
    return heldFolder;
}

void useProgramFolder(const QString& folder) {
    const QMutexLocker lock(&heldFolderMutex);
    heldFolder = folder.isEmpty() ? QString() : withSeparator(folder);
}

QString currentFolder() {
    return withSeparator(QDir::currentPath());
}

QString expandName(const QString& name) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(name));
}

bool writeRefused(const QString& path) {
    const QFileInfo info(path);
#ifdef Q_OS_UNIX
    if (info.exists())
        return !modeAllowsWrite(path);
    return !modeAllowsWrite(info.absolutePath());
#else
    if (info.exists())
        return !info.isWritable();
    return !QFileInfo(info.absolutePath()).isWritable();
#endif
}

} // namespace vq
