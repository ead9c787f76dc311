#pragma once

#include <QByteArray>
#include <QList>

namespace vq::test {

// The sample encodings a sound editor offers when it saves a WAV file.
enum class WavEncoding { Unsigned8, Signed16, Signed24, Signed32, Float32, Float64 };

struct WavFormat {
    WavEncoding encoding = WavEncoding::Signed16;
    int channels = 1;
    int rate = 44100;
    // The format chunk as editors write it for more than 16 bits or 2 channels
    // (WAVE_FORMAT_EXTENSIBLE, with a channel mask and the encoding as a sub-format).
    bool extensible = false;
};

// A complete WAV file in the given format, full scale being 1 (integer encodings clip beyond it,
// float ones keep such samples as they are): channel c of the file holds
// channels[c % channels.size()] (so one list fills every channel), each as long as the first.
QByteArray encodeWav(const WavFormat& format, const QList<QList<double>>& channels);

// A sine of the given frequency and length at the format's rate, amplitude from 0 to 1.
QList<double> sineAt(int rate, double hz, int ms, double amplitude);

} // namespace vq::test
