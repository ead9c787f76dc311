#pragma once

#include <QFontDatabase>

#include <gtest/gtest.h>

// Cases that cannot apply to the platform a test program was built for say so, and why, in
// their skip message.
namespace vq::test {

// Some tests hold the program to the machine's own reference tools (mdbtools, Node.js, Python,
// the sound server). A Windows test program under wine can start them but gets nothing back
// through its pipes, so there those comparisons are left to the Linux build's run of the same
// cases and to the Windows test command, which compares the Windows programs' output with the
// Linux build's from outside.
#ifdef Q_OS_WIN
inline constexpr bool kReferenceToolsRun = false;
inline constexpr bool kUnixFileModes = false;
#else
inline constexpr bool kReferenceToolsRun = true;
inline constexpr bool kUnixFileModes = true;
#endif

} // namespace vq::test

#define SKIP_WITHOUT_REFERENCE_TOOLS()                                                             \
    if (!vq::test::kReferenceToolsRun)                                                             \
    GTEST_SKIP() << "the machine's reference tools answer no Windows program under wine"

// Permission bits, symbolic links and folders without write permission are Unix's; a Windows
// file has only its read-only attribute (QFile::link makes a shortcut).
#define SKIP_WITHOUT_UNIX_FILE_MODES()                                                             \
    if (!vq::test::kUnixFileModes)                                                                 \
    GTEST_SKIP() << "Windows has no permission bits, unwritable folders or symbolic links here"

// Metrics of real fonts. The Windows build's offscreen platform finds no fonts under wine (it
// draws every glyph as an empty box); the real-window layout test holds the Windows build's
// texts to the Linux build's instead.
#define SKIP_WITHOUT_FONTS()                                                                       \
    if (QFontDatabase::families().isEmpty())                                                       \
    GTEST_SKIP() << "no fonts on this platform (the Windows offscreen platform under wine has "    \
                    "none)"
