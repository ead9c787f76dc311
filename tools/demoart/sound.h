#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace demoart {

inline constexpr int kSampleRate = 44100;

// A short wooden tick for every second of the countdown.
QList<qint16> tickSamples();
// A two-note chime with a long ring for the end of the countdown.
QList<qint16> chimeSamples();

// A mono 16-bit PCM WAV file holding the samples.
QByteArray wavFile(const QList<qint16>& samples, int sampleRate = kSampleRate);

struct WavInfo {
    bool ok = false;
    QString problem;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    double seconds = 0;
    int peak = 0; // largest absolute sample value
};
// Reads back a PCM WAV file as the presenter's sound service needs it.
WavInfo readWav(const QByteArray& file);

} // namespace demoart
