#include "clipprobe.h"

#include "platform/audiodecoder.h"
#include "platform/files.h"
#include "platform/sound.h"

#include <QFile>

#if VELQUO_CLIP_DECODER
#include "platform/sndfilelibrary.h"
#endif

#include <memory>
#include <optional>
#include <vector>

namespace vq::bank {
namespace {

ClipInfo::Kind kindOf(SoundKind kind) {
    switch (kind) {
    case SoundKind::Wav:
        return ClipInfo::Kind::Wav;
    case SoundKind::Ogg:
        return ClipInfo::Kind::Ogg;
    case SoundKind::Flac:
        return ClipInfo::Kind::Flac;
    case SoundKind::Mp3:
        return ClipInfo::Kind::Mp3;
    case SoundKind::M4a:
        return ClipInfo::Kind::M4a;
    case SoundKind::Other:
        break;
    }
    return ClipInfo::Kind::Unknown;
}

// The clip's length, stated or (where its headers state none) decoded, and how much of it
// decodes: read through a block of about a second at a time with `readFrames`, unless its stated
// length is already larger than `largest` bytes of 16-bit samples.
template <typename ReadFrames>
void measure(ClipInfo& info, int rate, int channels, std::optional<double> stated,
             std::int64_t largest, ReadFrames readFrames) {
    const auto pcmBytes = [&](std::int64_t frames) { return frames * channels * 2; };
    if (stated) {
        info.seconds = *stated;
        info.pcmBytes = pcmBytes(std::int64_t(*stated * rate));
    }
    if (info.pcmBytes > largest)
        return;
    std::vector<qint16> samples(size_t(rate) * size_t(channels));
    std::int64_t read = 0;
    for (std::int64_t n; pcmBytes(read) <= largest && (n = readFrames(samples.data(), rate)) > 0;)
        read += n;
    info.decodedSeconds = double(read) / rate;
    info.decoded = true;
    if (!stated) {
        info.seconds = info.decodedSeconds;
        info.pcmBytes = pcmBytes(read);
    }
}

#if VELQUO_CLIP_DECODER
// libsndfile (platform/sndfilelibrary.h) is loaded with the first clip: the tool's other commands
// never need it. It reads every kind but M4A. False where the library is not there.
bool decodeWithSoundFileLibrary(QFile& file, ClipInfo& info, std::int64_t largest) {
    const SndFileLibrary* sf = SndFileLibrary::get();
    if (!sf)
        return false;
    SF_INFO format{};
    SNDFILE* handle = sf->openFd(file.handle(), SFM_READ, &format, SF_FALSE);
    if (!handle) {
        info.error = QString::fromLocal8Bit(sf->error(nullptr));
        return true;
    }
    if (format.samplerate > 0 && format.channels > 0) {
        // A stream whose length its headers do not state (an Ogg file cut short, say) gives
        // the library's largest count: its length is what decodes.
        std::optional<double> stated;
        if (format.frames < SF_COUNT_MAX / 4)
            stated = double(format.frames) / format.samplerate;
        measure(info, format.samplerate, format.channels, stated, largest,
                [&](qint16* block, std::int64_t frames) {
                    return std::int64_t(sf->readShortFrames(handle, block, frames));
                });
    } else {
        info.error = QString::fromLocal8Bit(sf->error(handle));
    }
    sf->close(handle);
    return true;
}
#endif

// The media library (platform/audiodecoder.h), for M4A and wherever the build has no libsndfile.
void decodeWithMediaLibrary(QFile& file, SoundKind kind, ClipInfo& info, std::int64_t largest) {
    const std::unique_ptr<AudioDecoder> decoder = AudioDecoder::open(file, kind, &info.error);
    if (!decoder)
        return;
    measure(info, decoder->sampleRate(), decoder->channels(), decoder->statedSeconds(), largest,
            [&](qint16* block, std::int64_t frames) { return decoder->read(block, frames); });
}

} // namespace

bool ClipProbe::canDecode() {
#if VELQUO_CLIP_DECODER
    static const bool loaded = SndFileLibrary::get() != nullptr || AudioDecoder::available();
#else
    static const bool loaded = AudioDecoder::available();
#endif
    return loaded;
}

ClipInfo ClipProbe::probe(const QString& path, std::int64_t largest) {
    ClipInfo info;
    QFile file(path);
    if (!openRegularFile(file, nullptr))
        return info;
    const SoundKind kind = soundKindOf(file.read(12));
    info.kind = kindOf(kind);
    // The libraries read the file from where its descriptor stands.
    if (info.kind == ClipInfo::Kind::Unknown || !file.seek(0))
        return info;
#if VELQUO_CLIP_DECODER
    if (kind != SoundKind::M4a && decodeWithSoundFileLibrary(file, info, largest))
        return info;
#endif
    if (AudioDecoder::available())
        decodeWithMediaLibrary(file, kind, info, largest);
    return info;
}

QString ClipProbe::kindName(ClipInfo::Kind kind) {
    switch (kind) {
    case ClipInfo::Kind::Wav:
        return QStringLiteral("WAV");
    case ClipInfo::Kind::Mp3:
        return QStringLiteral("MP3");
    case ClipInfo::Kind::Ogg:
        return QStringLiteral("OGG");
    case ClipInfo::Kind::Flac:
        return QStringLiteral("FLAC");
    case ClipInfo::Kind::M4a:
        return QStringLiteral("M4A");
    case ClipInfo::Kind::Unknown:
        break;
    }
    return {};
}

} // namespace vq::bank
