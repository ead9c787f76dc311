#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <functional>
#include <memory>

class QFile;

namespace vq {

// Standard output and error carry the bytes written to them and nothing else: where the C
// library would put a carriage return before each line feed (Windows), it no longer does, so
// that a tool's output is the same file on every system.
void useBinaryStandardStreams();

// Whether the C library can read a block of memory as a file (fmemopen); where it cannot (the
// Windows C library), libraries built on it that take a buffer only report that they cannot.
constexpr bool kMemoryReadsAsFile =
#ifdef Q_OS_WIN
    false;
#else
    true;
#endif

// Whether a file held open keeps other programs from replacing it (Windows: a rename over a file
// that is open fails, whatever the sharing it was opened with); a reader that keeps a file for
// a long time then opens it only while it reads.
constexpr bool kOpenFilesBlockReplacing =
#ifdef Q_OS_WIN
    true;
#else
    false;
#endif

// The file's name as a C library's open() and stat() take it: the ANSI code page's bytes on
// Windows (its 8.3 short name where the code page cannot spell the long one), the file
// system's encoding elsewhere.
QByteArray nameForCLibrary(const QString& path);

// Opens an existing file for reading. Anything but a regular file (a FIFO, a device, a socket,
// a folder) is refused at once instead of being opened: opening a FIFO waits for a writer and a
// device can be read without end. On failure returns false with the system's reason.
bool openRegularFile(QFile& file, QString* reason);

// A regular file kept open for reading parts of it when they are needed, shared as
// openRegularFile() shares it: other programs may write or replace the file meanwhile.
class RegularFileReader {
public:
    enum class Failure { None, Missing, NotRegular, Refused };
    // The open file; null with the failure when it cannot be opened.
    static std::unique_ptr<RegularFileReader> open(const QString& path, Failure* failure);
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;

    // The size when it was opened.
    qint64 size() const { return m_size; }
    // Exactly n bytes from offset into `to`; false when the file has fewer or cannot be read.
    bool read(qint64 offset, char* to, qint64 n) const;
    // A C library's stream on the same open file (the same file even when another program has
    // replaced the name meanwhile); the caller closes it. Null when the system refuses one.
    std::FILE* newStream() const;

private:
    explicit RegularFileReader(int fd, qint64 size) : m_fd(fd), m_size(size) {}
    int m_fd = -1;
    qint64 m_size = 0;
};

// Whether the path names a regular file (following symbolic links).
bool isRegularFile(const QString& path);

enum class ReadResult {
    Ok,         // the file's first bytes, up to the limit, are in the buffer
    Missing,    // no such file
    NotRegular, // something else than a regular file lies there
    Failed,     // the file is there but could not be read
};

// Reads at most maxBytes of a regular file. *wholeFile tells whether the file ended within
// the limit.
ReadResult readRegularFile(const QString& path, qint64 maxBytes, QByteArray* out,
                           bool* wholeFile = nullptr);

// Replaces the file's content as one step: the bytes go to a temporary file beside it, named
// "<name>.partial-<process id>.tmp", which is written, flushed to the disk and closed, each step
// checked, and only then renamed over the file. On any failure the temporary file is removed
// and the old file is left exactly as it was. An existing file keeps its mode and, where the
// writer may set them, its owner and group; a symbolic link is followed and the file it points
// to replaced. Leftovers of writers that were killed part-way are removed first. Returns false
// when the platform refused any step, or when something else than a regular file lies there.
bool replaceFileContents(const QString& path, const QByteArray& bytes);

enum class ReplaceResult {
    Replaced,  // the file holds the new bytes
    Refused,   // the platform refused a step, or something else than a regular file lies there
    Overtaken, // the file changed since the caller read it; it was left as it is now
};

// The same, for a read-modify-write: just before the new file takes the old one's place,
// `unchanged` is asked whether the file still holds what the caller read. When another writer
// replaced it meanwhile, nothing is replaced (Overtaken), so that the caller can make its change
// again on the file as it is now instead of undoing the other's.
ReplaceResult replaceFileContentsIf(const QString& path, const QByteArray& bytes,
                                    const std::function<bool()>& unchanged);

// Removes the temporary files beside `path` that writers killed part-way left behind (their
// process is gone, or the file is older than any write takes); another live writer's stays.
void removeLeftoverPartials(const QString& path);

// The temporary file name replaceFileContents() uses for this process.
QString partialFileName(const QString& path);

// The partial file of a replacing write as the platform opened it: a descriptor, or a Windows
// handle; -1 for none.
using NativeFile = qintptr;

// The platform's calls a replacing write makes, in the order it makes them; each failure leaves
// the platform's error number in errno. These are the program's own; a test hands in steps of
// its own (files_testing.h) to make one of them fail or to hold the writer between two of them.
class ReplacingWriteSteps {
public:
    virtual ~ReplacingWriteSteps() = default;
    // A new file; `replacing` tells whether it is to take an existing file's place (its mode is
    // then set from that file's before anything is written).
    virtual NativeFile create(const QString& partial, bool replacing);
    virtual bool write(NativeFile file, const QByteArray& bytes);
    virtual bool flush(NativeFile file);
    // The file is closed whatever this returns.
    virtual bool close(NativeFile file);
    // The new file is complete and closed; next the old one is looked at and replaced.
    virtual void closed() {}
    virtual bool rename(const QString& partial, const QString& target);
};

// Every replacing write from now on takes these steps; null gives back the platform's own.
void installReplacingWriteSteps(ReplacingWriteSteps* steps);

} // namespace vq
