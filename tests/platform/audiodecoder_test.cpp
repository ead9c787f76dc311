// The media library's decoding of the clips a quiz brings in M4A files (AAC from a phone or a
// music shop, ALAC from a CD rip), and of files that only look like one. The clips are in
// tests/platform/clips (see its README).
#include "platform/audiodecoder.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

QByteArray clip(const char* name) {
    QFile f(QStringLiteral(VELQUO_SOURCE_DIR "/tests/platform/clips/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Decoded {
    int rate = 0;
    int channels = 0;
    std::optional<double> stated;
    std::vector<qint16> samples; // interleaved
    qint64 frames() const { return channels ? qint64(samples.size()) / channels : 0; }
};

// Opens the bytes as the kind they are and reads them to the end, in blocks of an odd size so
// that a frame's samples are handed out across calls.
std::optional<Decoded> decodeAll(const QByteArray& bytes, QString* error = nullptr) {
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    const auto decoder = vq::AudioDecoder::open(device, vq::soundKindOf(bytes.left(12)), error);
    if (!decoder)
        return std::nullopt;
    Decoded d{decoder->sampleRate(), decoder->channels(), decoder->statedSeconds(), {}};
    std::vector<qint16> block(size_t(777 * d.channels));
    for (qint64 n; (n = decoder->read(block.data(), 777)) > 0;)
        d.samples.insert(d.samples.end(), block.begin(), block.begin() + n * d.channels);
    return d;
}

// The channel's root mean square level and its zero crossings per second, over [from, to) s.
struct Tone {
    double level = 0;
    double hz = 0;
};
Tone toneOf(const Decoded& d, int channel, double from, double to) {
    const qint64 a = qint64(from * d.rate);
    const qint64 b = std::min<qint64>(qint64(to * d.rate), d.frames());
    double sum = 0;
    int crossings = 0;
    for (qint64 i = a; i < b; ++i) {
        const qint16 s = d.samples[size_t(i * d.channels + channel)];
        sum += double(s) * s;
        if (i > a && (d.samples[size_t((i - 1) * d.channels + channel)] < 0) != (s < 0))
            ++crossings;
    }
    const double seconds = double(b - a) / d.rate;
    return {b > a ? std::sqrt(sum / double(b - a)) : 0, crossings / 2.0 / seconds};
}

class AudioDecoding : public ::testing::Test {
protected:
    void SetUp() override {
        if (!vq::AudioDecoder::available())
            GTEST_SKIP() << "the media decoding library is not installed";
    }
};

TEST_F(AudioDecoding, AacInAnM4aComesOutAtItsRatePitchLevelAndLength) {
    const std::optional<Decoded> d = decodeAll(clip("tone-20s.m4a"));
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->rate, 44100);
    EXPECT_EQ(d->channels, 1);
    ASSERT_TRUE(d->stated.has_value());
    EXPECT_NEAR(*d->stated, 20.0, 0.05);
    // AAC's frames round the length up to whole frames of 1024 samples.
    EXPECT_NEAR(double(d->frames()) / d->rate, 20.0, 0.05);
    for (const double at : {1.0, 10.0, 18.5}) {
        const Tone t = toneOf(*d, 0, at, at + 0.5);
        EXPECT_NEAR(t.hz, 440, 2) << "at " << at << " s";
        // The tone was written at 0.37 of full scale: its RMS is that over the root of two.
        EXPECT_NEAR(t.level, 0.37 * 32767 / std::sqrt(2.0), 600) << "at " << at << " s";
    }
}

TEST_F(AudioDecoding, StereoKeepsItsChannelsApartAndMoreAreMixedToTwo) {
    // ALAC, lossless: the tone on the left only, the right silent.
    const std::optional<Decoded> alac = decodeAll(clip("left-only-alac.m4a"));
    ASSERT_TRUE(alac.has_value());
    EXPECT_EQ(alac->rate, 48000);
    ASSERT_EQ(alac->channels, 2);
    EXPECT_EQ(alac->frames(), 48000);
    EXPECT_NEAR(toneOf(*alac, 0, 0.2, 0.8).level, 0.37 * 32767 / std::sqrt(2.0), 20);
    EXPECT_NEAR(toneOf(*alac, 0, 0.2, 0.8).hz, 440, 2);
    EXPECT_EQ(toneOf(*alac, 1, 0.0, 1.0).level, 0);

    // 5.1 comes out as stereo that still carries the tone.
    const std::optional<Decoded> six = decodeAll(clip("six-channels.m4a"));
    ASSERT_TRUE(six.has_value());
    ASSERT_EQ(six->channels, 2);
    for (const int channel : {0, 1}) {
        const Tone t = toneOf(*six, channel, 0.1, 0.4);
        EXPECT_GT(t.level, 1000) << "channel " << channel;
        EXPECT_NEAR(t.hz, 440, 3) << "channel " << channel;
    }
}

TEST_F(AudioDecoding, TheWaveInMemoryIsAPlainPcmFileCutWhereAsked) {
    QBuffer device;
    const QByteArray m4a = clip("left-only-alac.m4a");
    device.setData(m4a);
    device.open(QIODevice::ReadOnly);
    // Half a second's samples: 48000 frames of two 16-bit channels is 192000 bytes.
    const std::optional<QByteArray> wave = vq::decodedWave(device, vq::SoundKind::M4a, 96000);
    ASSERT_TRUE(wave.has_value());
    ASSERT_EQ(wave->size(), 44 + 96000);
    const auto* h = reinterpret_cast<const uchar*>(wave->constData());
    EXPECT_EQ(wave->left(4), "RIFF");
    EXPECT_EQ(qFromLittleEndian<quint32>(h + 4), quint32(wave->size() - 8));
    EXPECT_EQ(wave->mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(qFromLittleEndian<quint16>(h + 20), 1); // PCM
    EXPECT_EQ(qFromLittleEndian<quint16>(h + 22), 2);
    EXPECT_EQ(qFromLittleEndian<quint32>(h + 24), 48000u);
    EXPECT_EQ(qFromLittleEndian<quint32>(h + 28), 48000u * 4);
    EXPECT_EQ(qFromLittleEndian<quint16>(h + 32), 4);
    EXPECT_EQ(qFromLittleEndian<quint16>(h + 34), 16);
    EXPECT_EQ(wave->mid(36, 4), "data");
    EXPECT_EQ(qFromLittleEndian<quint32>(h + 40), 96000u);
    // The samples are the decoder's own.
    const std::optional<Decoded> d = decodeAll(m4a);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(std::memcmp(wave->constData() + 44, d->samples.data(), 96000), 0);
}

TEST_F(AudioDecoding, DamagedOrForeignFilesOpenNothingOrWhatTheyHold) {
    const QByteArray m4a = clip("tone-20s.m4a");
    ASSERT_FALSE(m4a.isEmpty());
    QString error;
    // The index of the file's frames is at its end: cut short, nothing can be found.
    EXPECT_FALSE(decodeAll(m4a.left(m4a.size() / 2), &error).has_value());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(decodeAll(m4a.left(12)).has_value());
    // The index kept, the frames' bytes overwritten: it decodes to its end without a crash.
    QByteArray noise = m4a;
    for (qsizetype i = 2000; i < noise.size() - 2000; i += 7)
        noise[i] = char(i * 31);
    if (const std::optional<Decoded> d = decodeAll(noise)) {
        EXPECT_LE(d->frames(), 21 * 44100);
    }
    // What is not a sound of a kind the library is given opens nothing, whatever it holds.
    EXPECT_FALSE(decodeAll(QByteArray("\xFF\xD8\xFF\xE0 a JPEG", 12) + m4a).has_value());
    EXPECT_FALSE(decodeAll({}).has_value());
    // A WAV's first bytes and no sound after them.
    EXPECT_FALSE(decodeAll(QByteArray("RIFF\x24\0\0\0WAVEjunkjunkjunk", 24)).has_value());
    QBuffer device;
    device.setData(m4a);
    device.open(QIODevice::ReadOnly);
    EXPECT_EQ(vq::AudioDecoder::open(device, vq::SoundKind::Other), nullptr);
}

} // namespace
