#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace vq::test {

// The tests check the program against reference tools of the machine they run on (mdbtools,
// Node.js, Python). Under wine a Windows test program starts those by their Unix path and
// hands them Unix paths, which wine itself tells (its kernel32 exports the conversion).
inline QString hostPath(const QString& path) {
#ifdef Q_OS_WIN
    using ToUnix = char*(__cdecl*)(const wchar_t*);
    static const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    const bool drivePath = path.size() > 2 && path.at(0).isLetter() && path.at(1) == u':' &&
                           (path.at(2) == u'/' || path.at(2) == u'\\');
    if (!toUnix || !(drivePath || path.startsWith(u'/')))
        return path;
    char* unixName = toUnix(
        reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(QDir::cleanPath(path)).utf16()));
    if (!unixName)
        return path;
    const QString out = QString::fromUtf8(unixName);
    ::HeapFree(::GetProcessHeap(), 0, unixName);
    return out;
#else
    return path;
#endif
}

#ifdef Q_OS_WIN
// Where wine shows the machine's own programs.
inline const QString kHostTools = QStringLiteral("Z:/usr/bin/");
#endif

// Whether the machine has the reference tool.
inline bool hostToolExists(const QString& name) {
#ifdef Q_OS_WIN
    return QFileInfo::exists(kHostTools + name);
#else
    return !QStandardPaths::findExecutable(name).isEmpty();
#endif
}

// Starts a reference tool named by its bare name, or a program of this build by its path.
inline void startTool(QProcess& process, const QString& program, const QStringList& args) {
#ifdef Q_OS_WIN
    const bool bare = !program.contains(u'/') && !program.contains(u'\\');
    if (bare || !program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) {
        QStringList unixArgs;
        for (const QString& a : args)
            unixArgs << hostPath(a);
        process.start(bare ? kHostTools + program : hostPath(program), unixArgs);
        return;
    }
#endif
    process.start(program, args);
}

} // namespace vq::test
