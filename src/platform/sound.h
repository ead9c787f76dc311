#pragma once

#include <QByteArray>
#include <QString>

namespace vq {

// What a sound file is, from its first twelve bytes (not from its name). M4a is an MPEG-4 file
// (its "ftyp" box), whatever its sound is coded in.
enum class SoundKind { Wav, Ogg, Flac, Mp3, M4a, Other };
SoundKind soundKindOf(const QByteArray& head);

// The most a clip's 16-bit copy held in memory takes (about ten minutes of CD-quality stereo):
// the Windows player plays a longer clip only this far, and the bank check warns about one.
inline constexpr qint64 kLargestClipBytes = 100LL * 1024 * 1024;

// Plays a WAV file by full path without waiting. Starting a sound ends the one still playing;
// a missing or unplayable file, or no sound device, gives silence and no report.
class SoundService {
public:
    virtual ~SoundService() = default;
    virtual void play(const QString& path) = 0;
    // Ends the sound that is playing, if any.
    virtual void stop() {}
    // Connects to the sound service in the background, so that the first sound starts as
    // quickly as the others (the program calls it where the countdown is to be heard: at
    // set-up, and when a countdown starts).
    virtual void prepare() {}
    // Whether a sound is still loading or playing (the program itself never asks).
    virtual bool busy() const { return false; }
    // Whether files of this kind play; every service plays WAV files.
    virtual bool plays(SoundKind kind) const { return kind == SoundKind::Wav; }
    // The kinds that play, for the operator: "WAV" or "WAV、OGG、FLAC、MP3、M4A".
    QString playableKinds() const;
};

// The service in use: the desktop's player unless a test installed its own
// (platform/sound_testing.h).
SoundService& sounds();

inline void playSound(const QString& path) {
    sounds().play(path);
}

} // namespace vq
