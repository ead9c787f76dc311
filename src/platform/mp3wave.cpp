#include "platform/mp3wave.h"

#include <QtEndian>

#include <array>
#include <cstdint>

namespace vq {
namespace {

struct Frame {
    int version = 0; // 1 for MPEG-1, 2 for MPEG-2 and 2.5 alike
    int sampleRate = 0;
    int channels = 0;
    int bitRate = 0;      // kbit/s
    qsizetype length = 0; // with the padding byte, where the frame has one
    int padding = 0;
    int samples() const { return version == 1 ? 1152 : 576; }
};

// The Layer III frame whose header starts at `at`, if one does.
std::optional<Frame> frameAt(QByteArrayView b, qsizetype at) {
    if (at + 4 > b.size())
        return std::nullopt;
    const auto byte = [&](qsizetype i) { return std::uint8_t(b[at + i]); };
    if (byte(0) != 0xFF || (byte(1) & 0xE0) != 0xE0)
        return std::nullopt;
    const int versionBits = (byte(1) >> 3) & 3; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    const int layerBits = (byte(1) >> 1) & 3;   // 1 Layer III
    const int rateIndex = byte(2) >> 4;
    const int sampleIndex = (byte(2) >> 2) & 3;
    if (versionBits == 1 || layerBits != 1 || rateIndex == 0 || rateIndex == 15 || sampleIndex == 3)
        return std::nullopt;
    static constexpr std::array<int, 15> kRates1{0,   32,  40,  48,  56,  64,  80, 96,
                                                 112, 128, 160, 192, 224, 256, 320};
    static constexpr std::array<int, 15> kRates2{0,  8,  16, 24,  32,  40,  48, 56,
                                                 64, 80, 96, 112, 128, 144, 160};
    static constexpr std::array<int, 3> kSampleRates{44100, 48000, 32000};
    Frame f;
    f.version = versionBits == 3 ? 1 : 2;
    f.bitRate = (f.version == 1 ? kRates1 : kRates2)[std::size_t(rateIndex)];
    f.sampleRate = kSampleRates[std::size_t(sampleIndex)] >> (versionBits == 3   ? 0
                                                              : versionBits == 2 ? 1
                                                                                 : 2);
    f.channels = (byte(3) >> 6) == 3 ? 1 : 2;
    f.padding = (byte(2) >> 1) & 1;
    f.length = qsizetype((f.version == 1 ? 144 : 72) * f.bitRate * 1000 / f.sampleRate + f.padding);
    return f;
}

// Where the frames begin: after an ID3v2 tag, at the first header that the next frame's header
// confirms (a stray pair of bytes in a tag's picture looks like a header too).
qsizetype firstFrame(QByteArrayView b) {
    qsizetype at = 0;
    if (b.size() >= 10 && b.first(3) == QByteArrayView("ID3")) {
        const auto size = [&](int i) { return qsizetype(std::uint8_t(b[i]) & 0x7F); };
        at = 10 + (size(6) << 21 | size(7) << 14 | size(8) << 7 | size(9));
        if (std::uint8_t(b[5]) & 0x10)
            at += 10; // a footer
    }
    for (; at + 4 <= b.size(); ++at) {
        const std::optional<Frame> f = frameAt(b, at);
        if (f && (at + f->length == b.size() || frameAt(b, at + f->length)))
            return at;
    }
    return -1;
}

void put16(QByteArray& out, int v) {
    const auto le = qToLittleEndian(std::uint16_t(v));
    out.append(reinterpret_cast<const char*>(&le), 2);
}
void put32(QByteArray& out, qint64 v) {
    const auto le = qToLittleEndian(std::uint32_t(v));
    out.append(reinterpret_cast<const char*>(&le), 4);
}

} // namespace

std::optional<QByteArray> mp3AsWave(QByteArrayView mp3) {
    const qsizetype start = firstFrame(mp3);
    if (start < 0)
        return std::nullopt;
    const std::optional<Frame> first = frameAt(mp3, start);
    // Every whole frame up to the first thing that is none (an ID3v1 or APE tag, a cut end).
    qsizetype end = start;
    qint64 frames = 0;
    for (std::optional<Frame> f = first; f && end + f->length <= mp3.size();
         f = frameAt(mp3, end)) {
        end += f->length;
        ++frames;
    }
    if (frames == 0)
        return std::nullopt;
    const qint64 bytes = end - start;
    const qint64 samples = frames * first->samples();
    const qint64 averageBytesPerSecond = bytes * first->sampleRate / samples;

    QByteArray out;
    out.reserve(qsizetype(bytes) + 70);
    out.append("RIFF");
    put32(out, 4 + (8 + 30) + (8 + 4) + (8 + bytes) + (bytes & 1));
    out.append("WAVE");
    out.append("fmt ");
    put32(out, 30);
    put16(out, 0x0055); // MPEG Layer-3
    put16(out, first->channels);
    put32(out, first->sampleRate);
    put32(out, averageBytesPerSecond);
    put16(out, 1);  // block align
    put16(out, 0);  // bits per sample
    put16(out, 12); // the Layer-3 part that follows
    put16(out, 1);  // MPEG
    put32(out, 0);  // padding as the standard says
    put16(out, int(first->length - first->padding));
    put16(out, 1);    // frames per block
    put16(out, 1393); // the decoder's delay in samples
    out.append("fact");
    put32(out, 4);
    put32(out, samples);
    out.append("data");
    put32(out, bytes);
    out.append(mp3.sliced(start, bytes).data(), bytes);
    if (bytes & 1)
        out.append('\0');
    return out;
}

} // namespace vq
