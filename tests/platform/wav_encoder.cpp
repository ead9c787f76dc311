#include "wav_encoder.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace vq::test {
namespace {

int bitsOf(WavEncoding e) {
    switch (e) {
    case WavEncoding::Unsigned8:
        return 8;
    case WavEncoding::Signed16:
        return 16;
    case WavEncoding::Signed24:
        return 24;
    case WavEncoding::Signed32:
    case WavEncoding::Float32:
        return 32;
    case WavEncoding::Float64:
        return 64;
    }
    return 16;
}

bool isFloat(WavEncoding e) {
    return e == WavEncoding::Float32 || e == WavEncoding::Float64;
}

// The speaker positions editors give 1, 2, 4 and 6 channels (front centre; front left and
// right; quadraphonic; 5.1).
quint32 channelMask(int channels) {
    switch (channels) {
    case 1:
        return 0x4;
    case 2:
        return 0x3;
    case 4:
        return 0x33;
    case 6:
        return 0x3F;
    default:
        return (1u << channels) - 1;
    }
}

class Writer {
public:
    QByteArray bytes;
    template <typename T> void put(T v) {
        char b[sizeof(T)];
        qToLittleEndian(v, b);
        bytes.append(b, sizeof(T));
    }
    void tag(const char* fourCC) { bytes.append(fourCC, 4); }
};

void putSample(Writer& w, WavEncoding e, double x) {
    if (!isFloat(e))
        x = std::clamp(x, -1.0, 1.0);
    const auto scaled = [x](int bits) { return std::lround(x * double((1ll << (bits - 1)) - 1)); };
    switch (e) {
    case WavEncoding::Unsigned8:
        w.put(quint8(128 + scaled(8)));
        break;
    case WavEncoding::Signed16:
        w.put(qint16(scaled(16)));
        break;
    case WavEncoding::Signed24: {
        const auto v = quint32(qint32(scaled(24)));
        w.put(quint8(v & 0xFF));
        w.put(quint8((v >> 8) & 0xFF));
        w.put(quint8((v >> 16) & 0xFF));
        break;
    }
    case WavEncoding::Signed32:
        w.put(qint32(scaled(32)));
        break;
    case WavEncoding::Float32: {
        const auto f = float(x);
        quint32 bits = 0;
        std::memcpy(&bits, &f, 4);
        w.put(bits);
        break;
    }
    case WavEncoding::Float64: {
        quint64 bits = 0;
        std::memcpy(&bits, &x, 8);
        w.put(bits);
        break;
    }
    }
}

} // namespace

QByteArray encodeWav(const WavFormat& format, const QList<QList<double>>& channels) {
    const qsizetype frames = channels.isEmpty() ? 0 : channels.first().size();
    const int bits = bitsOf(format.encoding);
    const auto blockAlign = quint16(format.channels * bits / 8);
    const auto dataBytes = quint32(frames * blockAlign);
    const quint32 pad = dataBytes & 1; // chunks keep an even length
    const quint16 formatTag = format.extensible ? 0xFFFE : isFloat(format.encoding) ? 3 : 1;

    Writer fmt;
    fmt.put(formatTag);
    fmt.put(quint16(format.channels));
    fmt.put(quint32(format.rate));
    fmt.put(quint32(format.rate) * blockAlign);
    fmt.put(blockAlign);
    fmt.put(quint16(bits));
    if (format.extensible) {
        fmt.put(quint16(22));
        fmt.put(quint16(bits)); // valid bits
        fmt.put(channelMask(format.channels));
        // KSDATAFORMAT_SUBTYPE_PCM or _IEEE_FLOAT: the format tag in the GUID's first field.
        fmt.put(quint32(isFloat(format.encoding) ? 3 : 1));
        fmt.bytes.append("\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 12);
    } else if (formatTag != 1) {
        fmt.put(quint16(0));
    }

    Writer out;
    const bool fact = formatTag != 1;
    out.tag("RIFF");
    out.put(quint32(4 + 8 + fmt.bytes.size() + (fact ? 12 : 0) + 8 + dataBytes + pad));
    out.tag("WAVE");
    out.tag("fmt ");
    out.put(quint32(fmt.bytes.size()));
    out.bytes += fmt.bytes;
    if (fact) {
        out.tag("fact");
        out.put(quint32(4));
        out.put(quint32(frames));
    }
    out.tag("data");
    out.put(dataBytes);
    for (qsizetype i = 0; i < frames; ++i)
        for (int c = 0; c < format.channels; ++c)
            putSample(out, format.encoding, channels[c % channels.size()][i]);
    if (pad)
        out.put(quint8(0));
    return out.bytes;
}

QList<double> sineAt(int rate, double hz, int ms, double amplitude) {
    QList<double> out;
    const qsizetype frames = qsizetype(rate) * ms / 1000;
    out.reserve(frames);
    for (qsizetype i = 0; i < frames; ++i)
        out.append(amplitude * std::sin(2 * std::numbers::pi * hz * double(i) / rate));
    return out;
}

} // namespace vq::test
