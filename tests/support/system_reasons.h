#pragma once

#include <QString>
#include <QtGlobal>

namespace vq::test {

// What the system says of a file that is not there, as the program's boxes quote it: the
// platform's own words (in Chinese on a Chinese Windows).
inline QString missingFileReason() {
#ifdef Q_OS_WIN
    return qt_error_string(2); // ERROR_FILE_NOT_FOUND
#else
    return QStringLiteral("No such file or directory");
#endif
}

} // namespace vq::test
