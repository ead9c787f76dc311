#include "clipprobe.h"

#include "platform/files.h"
#include "platform/sound.h"

#include <QFile>

#if VELQUO_CLIP_DECODER
#include "platform/sndfilelibrary.h"

#include <vector>
#endif

namespace vq::bank {
namespace {

// The sound path's own reading of the first bytes, and M4A, which it has no decoder for but the
// operator should hear named.
ClipInfo::Kind kindOf(const QByteArray& head) {
    if (head.mid(4, 4) == "ftyp")
        return ClipInfo::Kind::M4a;
    switch (soundKindOf(head)) {
    case SoundKind::Wav:
        return ClipInfo::Kind::Wav;
    case SoundKind::Ogg:
        return ClipInfo::Kind::Ogg;
    case SoundKind::Flac:
        return ClipInfo::Kind::Flac;
    case SoundKind::Mp3:
        return ClipInfo::Kind::Mp3;
    case SoundKind::Other:
        break;
    }
    return ClipInfo::Kind::Unknown;
}

#if VELQUO_CLIP_DECODER
// libsndfile (platform/sndfilelibrary.h) is loaded with the first clip: the tool's other commands
// never need it, and the build for a system without it still checks the clips' kinds.
void decode(QFile& file, ClipInfo& info, std::int64_t largest) {
    const SndFileLibrary* sf = SndFileLibrary::get();
    if (!sf)
        return;
    SF_INFO format{};
    SNDFILE* handle = sf->openFd(file.handle(), SFM_READ, &format, SF_FALSE);
    if (!handle) {
        info.error = QString::fromLocal8Bit(sf->error(nullptr));
        return;
    }
    if (format.samplerate > 0 && format.channels > 0) {
        // A stream whose length its headers do not state (an Ogg file cut short, say) gives
        // the library's largest count: its length is what decodes.
        const bool stated = format.frames < SF_COUNT_MAX / 4;
        const auto pcmBytes = [&](sf_count_t frames) {
            return std::int64_t(frames) * format.channels * 2;
        };
        if (stated) {
            info.seconds = double(format.frames) / format.samplerate;
            info.pcmBytes = pcmBytes(format.frames);
        }
        if (info.pcmBytes <= largest) {
            // A block of about a second; the clip is read through to find where its data
            // ends, up to the largest size looked at.
            const sf_count_t block = format.samplerate;
            std::vector<short> samples(size_t(block) * size_t(format.channels));
            sf_count_t read = 0;
            for (sf_count_t n; pcmBytes(read) <= largest &&
                               (n = sf->readShortFrames(handle, samples.data(), block)) > 0;)
                read += n;
            info.decodedSeconds = double(read) / format.samplerate;
            info.decoded = true;
            if (!stated) {
                info.seconds = info.decodedSeconds;
                info.pcmBytes = pcmBytes(read);
            }
        }
    } else {
        info.error = QString::fromLocal8Bit(sf->error(handle));
    }
    sf->close(handle);
}
#endif

} // namespace

bool ClipProbe::canDecode() {
#if VELQUO_CLIP_DECODER
    static const bool loaded = SndFileLibrary::get() != nullptr;
    return loaded;
#else
    return false;
#endif
}

ClipInfo ClipProbe::probe(const QString& path, std::int64_t largest) {
    ClipInfo info;
    QFile file(path);
    if (!openRegularFile(file, nullptr))
        return info;
    info.kind = kindOf(file.read(12));
    // The library reads the file from where its descriptor stands.
    if (!file.seek(0))
        return info;
#if VELQUO_CLIP_DECODER
    if (info.kind != ClipInfo::Kind::Unknown)
        decode(file, info, largest);
#else
    Q_UNUSED(largest)
#endif
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
