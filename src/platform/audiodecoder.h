#pragma once

#include "platform/sound.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QIODevice;

namespace vq {

// A sound file of a kind a quiz's clips come in (WAV, MP3, Ogg Vorbis or Opus, FLAC, AAC or
// ALAC in an M4A file) decoded to interleaved 16-bit samples at the file's own rate, mono or
// stereo (more channels are mixed down to two), by the media decoding library: FFmpeg's, loaded
// with the first file that needs it on Linux, where the desktop usually has it, and linked with
// the Windows programs (its DLLs, built with only what clips need, ship beside them). The file must
// be a regular file (see openRegularFile): the library reads it through the device, seeking where
// it needs to.
class AudioDecoder {
public:
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    // Whether the library is there (on Linux: installed, of the version this build knows). The
    // first call loads it, which on Linux takes a few tens of milliseconds.
    static bool available();
    // The same without waiting for the load: nullopt until the library has been loaded, whose
    // loading the first call starts on a thread of its own.
    static std::optional<bool> availableWithoutWaiting();
    // Null where the library is missing or finds no sound it decodes in the file; *error (when
    // given) then says why, in the library's words. The file is read as the kind its first bytes
    // tell (soundKindOf), never guessed at: Other opens nothing.
    static std::unique_ptr<AudioDecoder> open(QIODevice& file, SoundKind kind,
                                              QString* error = nullptr);

    int sampleRate() const { return m_rate; }
    int channels() const { return m_channels; }
    // The length the file's headers state, where they state one.
    std::optional<double> statedSeconds() const { return m_stated; }

    // Decodes up to `frames` frames into `out` (channels() samples each) and returns how many;
    // 0 at the end of the sound, or where its data cannot be decoded any further.
    qint64 read(qint16* out, qint64 frames);

private:
    struct Streams;
    explicit AudioDecoder(std::unique_ptr<Streams> streams);

    std::unique_ptr<Streams> m_streams;
    int m_rate = 0;
    int m_channels = 0;
    std::optional<double> m_stated;
};

// The whole sound, or as much of its start as `largestBytes` of samples hold, as a 16-bit PCM
// WAV file held in memory (the form the Windows wave player plays from memory); nullopt where it
// does not decode at all.
std::optional<QByteArray> decodedWave(QIODevice& file, SoundKind kind, qint64 largestBytes);

} // namespace vq
