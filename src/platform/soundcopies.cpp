#include "platform/soundcopies.h"
#include "platform/sndfilelibrary.h"

#include "platform/audiodecoder.h"
#include "platform/files.h"
#include "platform/sound.h"

#include <QFile>

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

namespace vq {
namespace {

// Closes a libsndfile handle when it goes.
class SoundHandle {
public:
    SoundHandle(const SndFileLibrary* library, SNDFILE* handle)
        : m_library(library), m_handle(handle) {}
    ~SoundHandle() {
        if (m_handle)
            m_library->close(m_handle);
    }
    SoundHandle(const SoundHandle&) = delete;
    SoundHandle& operator=(const SoundHandle&) = delete;
    SNDFILE* get() const { return m_handle; }
    // Closes now; false when the library reports that the file could not be completed.
    bool close() {
        SNDFILE* handle = m_handle;
        m_handle = nullptr;
        return handle && m_library->close(handle) == 0;
    }

private:
    const SndFileLibrary* m_library = nullptr;
    SNDFILE* m_handle = nullptr;
};

std::int64_t nanoseconds(const timespec& t) {
    return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

SoundCopies::SoundCopies() = default;

SoundCopies::~SoundCopies() = default;

bool SoundCopies::stampOf(const QString& path, Stamp* stamp) {
    struct stat st {};
    if (::stat(nameForCLibrary(path).constData(), &st) != 0)
        return false;
    *stamp = {st.st_dev, st.st_ino, st.st_size, nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
    return true;
}

bool SoundCopies::stampOf(int descriptor, Stamp* stamp) {
    struct stat st {};
    if (::fstat(descriptor, &st) != 0)
        return false;
    *stamp = {st.st_dev, st.st_ino, st.st_size, nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
    return true;
}

void SoundCopies::drop(const QString& path) {
    const auto it = m_copies.constFind(path);
    if (it == m_copies.constEnd())
        return;
    // A copy still being played stays readable to its player until it closes it.
    QFile::remove(it->path);
    m_copies.erase(it);
}

QString SoundCopies::current(const QString& path) {
    const auto it = m_copies.constFind(path);
    if (it == m_copies.constEnd())
        return {};
    Stamp now;
    if (stampOf(path, &now) && now == it->stamp)
        return it->path;
    drop(path);
    return {};
}

QString SoundCopies::make(const QString& path) {
    const std::optional<Job> job = plan(path);
    if (!job)
        return {};
    const std::optional<Stamp> stamp = decode(*job);
    return stamp ? adopt(*job, *stamp) : QString();
}

std::optional<SoundCopies::Job> SoundCopies::plan(const QString& path) {
    drop(path);
    if (!SndFileLibrary::get())
        return std::nullopt;
    if (!m_folder) {
        m_folder = std::make_unique<QTemporaryDir>();
        if (!m_folder->isValid()) {
            m_folder.reset();
            return std::nullopt;
        }
    }
    return Job{path, m_folder->filePath(QString::number(++m_made) + QStringLiteral(".wav"))};
}

std::optional<SoundCopies::Stamp> SoundCopies::decode(const Job& job) {
    const SndFileLibrary* sf = SndFileLibrary::get();
    if (!sf)
        return std::nullopt;
    QFile file(job.source);
    if (!openRegularFile(file, nullptr))
        return std::nullopt;
    // Stamped from the descriptor that is read, so that a write after this point is seen as a
    // change at the next call.
    Stamp stamp;
    if (!stampOf(file.handle(), &stamp))
        return std::nullopt;
    SF_INFO format{};
    std::unique_ptr<AudioDecoder> decoder;
    // An M4A file's sound is decoded by the media library, whose samples come as 16 bits already.
    const bool m4a = soundKindOf(file.peek(12)) == SoundKind::M4a;
    // libsndfile reads from where the descriptor stands, which the look moved.
    if (!file.seek(0))
        return std::nullopt;
    if (m4a) {
        decoder = AudioDecoder::open(file, SoundKind::M4a);
        if (!decoder)
            return std::nullopt;
        format.samplerate = decoder->sampleRate();
        format.channels = decoder->channels();
    }
    SoundHandle source(sf,
                       decoder ? nullptr : sf->openFd(file.handle(), SFM_READ, &format, SF_FALSE));
    if (!decoder && (!source.get() || format.channels < 1 || format.samplerate < 1))
        return std::nullopt;

    SF_INFO copyFormat{};
    copyFormat.samplerate = format.samplerate;
    copyFormat.channels = format.channels;
    copyFormat.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SoundHandle copy(sf, sf->open(QFile::encodeName(job.copy).constData(), SFM_WRITE, &copyFormat));
    if (!copy.get())
        return std::nullopt;
    const sf_count_t frames = std::max(1, 16384 / format.channels);
    const size_t samples = std::size_t(frames) * std::size_t(format.channels);
    bool written = true;
    if (decoder) {
        std::vector<qint16> block(samples);
        for (sf_count_t n; written && (n = decoder->read(block.data(), frames)) > 0;)
            written = sf->writeShortFrames(copy.get(), block.data(), n) == n;
    } else {
        // Samples pass as floats at the file's own level (full scale is 1 for every encoding),
        // and those beyond full scale, which float files may hold, are clipped on the way to 16
        // bits instead of wrapping round to the other end.
        sf->command(copy.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
        std::vector<float> block(samples);
        for (sf_count_t n; written && (n = sf->readFrames(source.get(), block.data(), frames)) > 0;)
            written = sf->writeFrames(copy.get(), block.data(), n) == n;
    }
    if (!copy.close() || !written) {
        QFile::remove(job.copy);
        return std::nullopt;
    }
    return stamp;
}

QString SoundCopies::adopt(const Job& job, const Stamp& stamp) {
    // A copy of the same file made meanwhile gives way to this newer one.
    drop(job.source);
    m_copies.insert(job.source, {stamp, job.copy});
    return job.copy;
}

} // namespace vq
