#pragma once

#include <QString>

#include <cstdint>

namespace vq::bank {

// What a clip file is, as far as its first bytes and the decoding libraries (the sound-file
// library, and for M4A or where the build has no sound-file library the media library) can tell
// without playing it.
struct ClipInfo {
    enum class Kind { Unknown, Wav, Mp3, Ogg, Flac, M4a } kind = Kind::Unknown;
    bool decoded = false; // the library read it through; false where it did not
    QString error;        // why the library could not read it; empty when it could or did not try
    double seconds = 0;   // its length, where the library read it
    double decodedSeconds = 0; // how much of it decoded before the data ended
    std::int64_t pcmBytes = 0; // its size as 16-bit samples, the form the show's sound path plays
};

// Reads a clip to its end to find its kind and length and whether all of it decodes; one larger
// than `largest` bytes as 16-bit samples only to its length. The file must be a regular file
// (see isRegularFile); a FIFO would wait here for a writer.
class ClipProbe {
public:
    // Whether this build can decode clips at all (a decoding library was found), else only
    // their kind is told from their first bytes.
    static bool canDecode();
    static ClipInfo probe(const QString& path, std::int64_t largest);
    // "WAV", "MP3", ...; empty for Unknown.
    static QString kindName(ClipInfo::Kind kind);
};

} // namespace vq::bank
