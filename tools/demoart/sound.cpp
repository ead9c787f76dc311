#include "sound.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace demoart {

namespace {

struct Partial {
    double ratio; // frequency relative to the note
    double amplitude;
    double decay; // seconds for the partial to fall to 1/e
};

// Adds one struck note (a sum of exponentially decaying partials) to the buffer.
void strike(QList<double>& out, double startSeconds, double frequency,
            const QList<Partial>& partials, double attackSeconds) {
    const auto start = qsizetype(startSeconds * kSampleRate);
    for (qsizetype i = start; i < out.size(); ++i) {
        const double t = double(i - start) / kSampleRate;
        const double attack = std::min(1.0, t / attackSeconds);
        double v = 0;
        for (const Partial& p : partials)
            v += p.amplitude * std::exp(-t / p.decay) *
                 std::sin(2 * std::numbers::pi * frequency * p.ratio * t);
        out[i] += attack * v;
    }
}

// Scales the signal to the given peak, fades its last moments to silence and quantises it.
QList<qint16> finish(const QList<double>& signal, double peak, double fadeSeconds) {
    double top = 0;
    for (double v : signal)
        top = std::max(top, std::abs(v));
    const double gain = top > 0 ? peak * 32767.0 / top : 0;
    const auto fade = qsizetype(fadeSeconds * kSampleRate);
    QList<qint16> samples;
    samples.reserve(signal.size());
    for (qsizetype i = 0; i < signal.size(); ++i) {
        double v = signal[i] * gain;
        const qsizetype left = signal.size() - 1 - i;
        if (left < fade)
            v *= double(left) / double(fade);
        samples.append(qint16(std::lround(std::clamp(v, -32767.0, 32767.0))));
    }
    return samples;
}

} // namespace

QList<qint16> tickSamples() {
    // 80 ms: a bright knock with a little body below it, gone well before the next second.
    QList<double> signal(qsizetype(0.08 * kSampleRate), 0.0);
    strike(signal, 0, 1760, {{1.0, 1.0, 0.012}, {1.72, 0.45, 0.007}, {0.5, 0.35, 0.02}}, 0.0008);
    return finish(signal, 0.7, 0.01);
}

QList<qint16> chimeSamples() {
    // Two bell notes a major third apart, falling, with a ring of about two seconds.
    const QList<Partial> bell = {
        {1.0, 1.0, 0.9}, {2.0, 0.45, 0.5}, {2.76, 0.3, 0.35}, {5.4, 0.12, 0.12}, {0.5, 0.25, 1.4}};
    QList<double> signal(qsizetype(2.8 * kSampleRate), 0.0);
    strike(signal, 0.0, 659.26, bell, 0.004);  // E5
    strike(signal, 0.42, 523.25, bell, 0.004); // C5
    return finish(signal, 0.8, 0.3);
}

QByteArray wavFile(const QList<qint16>& samples, int sampleRate) {
    const auto dataBytes = quint32(samples.size() * 2);
    QByteArray out;
    out.reserve(44 + qsizetype(dataBytes));
    auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    out.append("RIFF", 4);
    u32(36 + dataBytes);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(quint32(sampleRate));
    u32(quint32(sampleRate) * 2);
    u16(2);
    u16(16);
    out.append("data", 4);
    u32(dataBytes);
    for (qint16 s : samples)
        u16(quint16(s));
    return out;
}

WavInfo readWav(const QByteArray& file) {
    WavInfo info;
    auto fail = [&](const QString& why) {
        info.problem = why;
        return info;
    };
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return fail(QStringLiteral("not a RIFF WAVE file"));
    const auto* bytes = reinterpret_cast<const uchar*>(file.constData());
    bool haveFormat = false;
    qsizetype pos = 12;
    while (pos + 8 <= file.size()) {
        const QByteArray id = file.mid(pos, 4);
        const qsizetype size = qFromLittleEndian<quint32>(bytes + pos + 4);
        const qsizetype body = pos + 8;
        if (size > file.size() - body)
            return fail(QStringLiteral("chunk %1 runs past the end of the file")
                            .arg(QString::fromLatin1(id)));
        if (id == "fmt ") {
            if (size < 16)
                return fail(QStringLiteral("format chunk too short"));
            if (qFromLittleEndian<quint16>(bytes + body) != 1)
                return fail(QStringLiteral("not PCM"));
            info.channels = qFromLittleEndian<quint16>(bytes + body + 2);
            info.sampleRate = int(qFromLittleEndian<quint32>(bytes + body + 4));
            info.bitsPerSample = qFromLittleEndian<quint16>(bytes + body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return fail(QStringLiteral("data before the format chunk"));
            if (info.bitsPerSample != 16 || info.channels < 1 || info.sampleRate <= 0)
                return fail(QStringLiteral("not 16-bit PCM"));
            const qsizetype count = size / 2;
            for (qsizetype i = 0; i < count; ++i)
                info.peak = std::max(
                    info.peak, std::abs(int(qFromLittleEndian<qint16>(bytes + body + 2 * i))));
            info.seconds = double(count) / info.channels / info.sampleRate;
            info.ok = true;
            return info;
        }
        pos = body + size + (size & 1);
    }
    return fail(QStringLiteral("no data chunk"));
}

} // namespace demoart
