#pragma once

#include <QString>

class QProcessEnvironment;

namespace vq {

// The file name of the program called `base` on this system ("velquo.exe" on Windows).
QString programFileName(const QString& base);

// A program copied on its own into another folder (the editor's preview copies the presenter)
// still finds what it loads beside its original in `originalFolder`: on Windows its libraries,
// plugins and translations, through the search path and a qt.conf in the copy's folder.
// Elsewhere the system's libraries serve the copy and nothing is needed.
void letCopyLoadFrom(const QString& originalFolder, const QString& copyFolder,
                     QProcessEnvironment* env);

// Folder of the running executable, ending in the separator, so that a file in it is the
// folder followed by the file name.
QString programFolder();
// Runs the program against another installation from now on (a test's temporary one); empty
// gives back the executable's own folder.
void useProgramFolder(const QString& folder);

// The process's working folder, against which bare names are resolved.
QString currentFolder();
// A bare or relative name expanded against the current folder, as the platform opens it.
QString expandName(const QString& name);

// Whether the platform would refuse to write this file (or, when it does not exist, to create
// it in its folder). Judged by the permission bits alone, like a read-only attribute, so that
// it holds for an administrator too.
bool writeRefused(const QString& path);

} // namespace vq
