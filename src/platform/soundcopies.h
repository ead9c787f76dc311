#pragma once

#include <QHash>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>
#include <optional>

namespace vq {

// 16-bit PCM copies of sound files, for an event-sound service that reads WAV files in no other
// encoding: 24- and 32-bit PCM, float, and whatever else the sound-file library (libsndfile, loaded
// with the first copy) reads, and M4A files, which the media decoding library (AudioDecoder)
// reads and libsndfile writes out. A file is decoded once as it is; later calls get the same copy
// until the file changes, so that a tick does not wait for its sound's decoding again. The
// copies live in a private folder removed with this object.
class SoundCopies {
public:
    SoundCopies();
    ~SoundCopies();
    SoundCopies(const SoundCopies&) = delete;
    SoundCopies& operator=(const SoundCopies&) = delete;

    // What tells one state of a file from another without reading it: the file's identity,
    // size, and the times of its last write and status change (to the nanosecond where the
    // file system keeps them).
    struct Stamp {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        std::int64_t changedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    // A copy to be made: the file, and where its copy goes.
    struct Job {
        QString source;
        QString copy;
    };

    // The copy made for the file as it is now; empty when none was made, or when the file has
    // changed since (that copy is then removed).
    QString current(const QString& path);
    // Decodes the file into a new copy (replacing an earlier one) and returns its path; empty
    // where the file is no sound the library reads, or the copy cannot be written.
    QString make(const QString& path);

    // The same in three parts, so that the decoding can run on another thread: where the file's
    // new copy is to go (the earlier copy is removed; nullopt without the decoding library or a
    // folder for copies); the decoding itself, safe on any thread, giving the stamp of the file
    // as it was read (nullopt, and nothing left behind, where it is no sound the library reads
    // or the copy cannot be written); and taking the finished copy in, which returns its path.
    std::optional<Job> plan(const QString& path);
    static std::optional<Stamp> decode(const Job& job);
    QString adopt(const Job& job, const Stamp& stamp);

private:
    struct Copy {
        Stamp stamp;
        QString path;
    };

    static bool stampOf(const QString& path, Stamp* stamp);
    static bool stampOf(int descriptor, Stamp* stamp);
    void drop(const QString& path);

    QHash<QString, Copy> m_copies;
    std::unique_ptr<QTemporaryDir> m_folder; // made with the first copy
    std::uint64_t m_made = 0;
};

} // namespace vq
