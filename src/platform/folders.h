#pragma once

#include <QString>

namespace vq {

// Folder of the running executable, ending in the separator, so that a file in it is the
// folder followed by the file name.
// Tests run the program against a temporary installation (platform/folders_testing.h).
QString programFolder();

// The process's working folder, against which bare names are resolved.
QString currentFolder();
// A bare or relative name expanded against the current folder, as the platform opens it.
QString expandName(const QString& name);

// Whether the platform would refuse to write this file (or, when it does not exist, to create
// it in its folder). Judged by the permission bits alone, like a read-only attribute, so that
// it holds for an administrator too.
bool writeRefused(const QString& path);

} // namespace vq
