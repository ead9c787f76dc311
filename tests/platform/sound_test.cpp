// The sound call against a real sound server: a private PulseAudio with a null sink, whose
// monitor is recorded while a child process plays through vq::playSound. What is measured is
// what a hall would hear: how long each sound is audible, when it starts, and that a new sound
// ends the one still playing.
#include "platform/sound.h"
#if __has_include(<sndfile.h>)
#include "platform/sndfilelibrary.h"
#define VQ_SOUND_COPIES 1
#endif
#include "support/child_process.h"
#include "support/little_endian.h"
#include "wav_encoder.h"

#include "sound.h" // the demo installation's sounds (tools/demoart)

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>
#include <vector>

namespace {

constexpr int kRate = 44100;

qint64 monotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Runs the user-interface thread's event loop for a while, as the program would between calls.
void runEventsFor(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                        int(std::max<qint64>(1, deadline.remainingTime())));
}

// Arguments: files to play one after the other, "wait:MS" between them to let the event loop
// run, "overwrite:FROM>TO" to write FROM's bytes over TO in place (as an editor saves). Prints
// "play START_NS DURATION_NS" for every call, then waits (bounded) until the last sound is over. As
// in the program, the sound service is prepared at start, a while before the first sound.
const bool kPlayRole = vq::test::registerChildRole("play-sound", [](const QStringList& args) {
    vq::sounds().prepare();
    runEventsFor(300);
    for (const QString& arg : args) {
        if (arg.startsWith(u"wait:")) {
            runEventsFor(arg.mid(5).toInt());
            continue;
        }
        if (arg.startsWith(u"overwrite:")) {
            const QStringList paths = arg.mid(10).split(u'>');
            QFile from(paths.value(0));
            QFile to(paths.value(1));
            if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly) ||
                to.write(from.readAll()) != from.size())
                return 1;
            continue;
        }
        const qint64 start = monotonicNs();
        vq::playSound(arg);
        const qint64 took = monotonicNs() - start;
        std::printf("play %lld %lld\n", static_cast<long long>(start),
                    static_cast<long long>(took));
        std::fflush(stdout);
    }
    QDeadlineTimer deadline(5000);
    runEventsFor(50);
    while (vq::sounds().busy() && !deadline.hasExpired())
        runEventsFor(10);
    return 0;
});

QByteArray wavOf(const QList<qint16>& samples) {
    return demoart::wavFile(samples, kRate);
}

QList<qint16> tone(int hz, int ms, double amplitude = 12000) {
    QList<qint16> out;
    const int frames = kRate * ms / 1000;
    for (int i = 0; i < frames; ++i)
        out.append(
            qint16(std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * i / kRate))));
    return out;
}

// Audibility in windows of one millisecond: a window is heard when its RMS reaches the
// threshold (about 40 dB below full scale).
constexpr int kWindow = kRate / 1000;
constexpr double kAudible = 330.0;
// A call hands the sound over and returns: one that waited for a sound server, or for the
// sound to end, would take seconds; a loaded machine (the test run's other programs, wine's
// own threads) kept a quick one from running for up to 55 ms.
constexpr double kCallBoundMs = 100.0;
// A sound that waited for its decoding or for the server would start later than this after its
// call; the server's own mixing, on a loaded machine, may start one some tens of milliseconds
// late.
constexpr double kStartBoundMs = 50.0;

double windowRms(const QList<qint16>& s, qsizetype from) {
    double sum = 0;
    const qsizetype to = std::min<qsizetype>(from + kWindow, s.size());
    for (qsizetype i = from; i < to; ++i)
        sum += double(s[i]) * s[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0;
}

struct Span {
    qsizetype first = -1; // sample index of the first audible window
    qsizetype last = -1;  // sample index just past the last audible window
    double ms() const { return first < 0 ? 0 : double(last - first) * 1000.0 / kRate; }
    double startMs() const { return double(first) * 1000.0 / kRate; }
};

Span audible(const QList<qint16>& s, qsizetype from = 0) {
    Span span;
    for (qsizetype i = from; i + kWindow <= s.size(); i += kWindow)
        if (windowRms(s, i) >= kAudible) {
            if (span.first < 0)
                span.first = i;
            span.last = i + kWindow;
        }
    return span;
}

// Power of one frequency in a stretch of samples (Goertzel), normalised to the stretch's length.
double power(const QList<qint16>& s, qsizetype from, qsizetype count, double hz) {
    const double k = 2 * std::cos(2 * std::numbers::pi * hz / kRate);
    double a = 0, b = 0;
    const qsizetype to = std::min<qsizetype>(from + count, s.size());
    for (qsizetype i = from; i < to; ++i) {
        const double c = s[i] + k * a - b;
        b = a;
        a = c;
    }
    const double n = double(std::max<qsizetype>(1, to - from));
    return (a * a + b * b - k * a * b) / (n * n);
}

struct Recording {
    QList<qint16> samples;
    // Arrival time (monotonic ns) of the samples up to each index, as read from the recorder.
    QList<std::pair<qsizetype, qint64>> arrivals;
    QList<qint64> playStarts;
    QList<qint64> playDurations;

    // Estimated monotonic time at which sample index i was heard.
    std::optional<qint64> timeOf(qsizetype i) const {
        for (const auto& [end, at] : arrivals)
            if (end > i)
                return at - qint64(double(end - i) * 1e9 / kRate);
        return std::nullopt;
    }
    // Index of the sample heard at monotonic time t (past the end when nothing had come yet).
    qsizetype indexAt(qint64 t) const {
        for (const auto& [end, at] : arrivals)
            if (at >= t)
                return std::max<qsizetype>(0, end - qsizetype(double(at - t) * kRate / 1e9));
        return samples.size();
    }
};

// The separate sounds of a recording: audible stretches parted by at least 100 ms of silence.
QList<Span> soundsIn(const QList<qint16>& s) {
    QList<Span> out;
    for (qsizetype i = 0; i + kWindow <= s.size(); i += kWindow) {
        if (windowRms(s, i) < kAudible)
            continue;
        if (out.isEmpty() || i - out.last().last >= kRate / 10)
            out.append({i, i + kWindow});
        else
            out.last().last = i + kWindow;
    }
    return out;
}

// The sound that began with the i-th play call: the first one starting between that call and the
// next. The times of the recorded samples are known to some milliseconds (the sink renders ahead,
// the recorder hands over in blocks), hence the margin.
std::optional<Span> soundOfCall(const Recording& r, const QList<Span>& sounds, qsizetype i) {
    const qsizetype margin = kRate * 30 / 1000;
    const qsizetype from = r.indexAt(r.playStarts[i]) - margin;
    const qsizetype to =
        i + 1 < r.playStarts.size() ? r.indexAt(r.playStarts[i + 1]) - margin : r.samples.size();
    for (const Span& sound : sounds)
        if (sound.first >= from && sound.first < to)
            return sound;
    return std::nullopt;
}

double meanSquare(const QList<qint16>& s, qsizetype from, qsizetype count) {
    double sum = 0;
    const qsizetype to = std::min<qsizetype>(from + count, s.size());
    for (qsizetype i = from; i < to; ++i)
        sum += double(s[i]) * s[i];
    return to > from ? sum / double(to - from) : 0;
}

// A sound file as an editor saves it: one tone per channel (repeating over the channels), each
// at 0.4 of full scale.
struct ToneFile {
    const char* name;
    vq::test::WavFormat format;
    QList<double> hz;
    int ms = 250;

    QByteArray bytes() const {
        QList<QList<double>> channels;
        for (const double f : hz)
            channels.append(vq::test::sineAt(format.rate, f, ms, 0.4));
        return vq::test::encodeWav(format, channels);
    }
    // The distinct tones, which the mono sink hears mixed at equal level.
    QList<double> tones() const {
        QList<double> out;
        for (const double f : hz)
            if (!out.contains(f))
                out.append(f);
        return out;
    }
};

using vq::test::WavEncoding;
constexpr bool kExtensible = true;
vq::test::WavFormat formatOf(WavEncoding e, int channels, int rate, bool extensible = false) {
    return {e, channels, rate, extensible};
}

class PulseSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kPlayRole);
#ifdef Q_OS_WIN
        GTEST_SKIP() << "a Windows program under wine gets nothing back from the machine's sound "
                        "server tools; tests/e2e/countdown_sound.sh hears this build's sounds";
#endif
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("parec").isEmpty())
            GTEST_SKIP() << "pulseaudio not installed";
        env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir.path());
        env.insert("HOME", dir.path());
        env.insert("PULSE_SERVER", "unix:" + socket());
        // The player's own temporary files go to a folder the test can look into.
        ASSERT_TRUE(QDir(dir.path()).mkdir("tmp"));
        env.insert("TMPDIR", dir.filePath("tmp"));
        server.setProcessEnvironment(env);
        server.start("pulseaudio",
                     {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                      "--disable-shm=yes", "-L",
                      "module-null-sink sink_name=vqtest rate=44100 channels=1", "-L",
                      "module-native-protocol-unix auth-anonymous=1 socket=" + socket()});
        ASSERT_TRUE(server.waitForStarted(5000));
        QDeadlineTimer deadline(10000);
        while (!QFileInfo(socket()).exists() && !deadline.hasExpired())
            server.waitForReadyRead(50);
        ASSERT_TRUE(QFileInfo(socket()).exists()) << "no sound server socket";
    }
    void TearDown() override {
        if (server.state() != QProcess::NotRunning) {
            server.kill();
            server.waitForFinished(5000);
        }
    }
    QString socket() const {
        return dir.filePath("native");
    }

    QString writeWav(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // Records the sink's monitor while the child plays; keeps what arrives until 300 ms after
    // the child ended.
    Recording recordWhilePlaying(const QStringList& childArgs) {
        Recording r;
        QByteArray bytes;
        QProcess rec;
        rec.setProcessEnvironment(env);
        rec.start("parec", {"-d", "vqtest.monitor", "--format=s16le", "--channels=1",
                            "--rate=44100", "--latency-msec=5"});
        EXPECT_TRUE(rec.waitForStarted(5000));
        auto take = [&] {
            const QByteArray chunk = rec.readAllStandardOutput();
            if (chunk.isEmpty())
                return;
            bytes += chunk;
            r.arrivals.append({bytes.size() / 2, monotonicNs()});
        };
        // The monitor is streaming before anything plays.
        QDeadlineTimer ready(5000);
        while (bytes.size() < kRate / 10 && !ready.hasExpired()) {
            rec.waitForReadyRead(20);
            take();
        }
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(vq::test::childProgram(), vq::test::childArguments("play-sound", childArgs));
        EXPECT_TRUE(child.waitForStarted(5000));
        QDeadlineTimer limit(15000);
        std::optional<QDeadlineTimer> tail;
        while (!limit.hasExpired() && !(tail && tail->hasExpired())) {
            rec.waitForReadyRead(5);
            take();
            if (!tail && (child.state() == QProcess::NotRunning || child.waitForFinished(0)))
                tail = QDeadlineTimer(300);
        }
        EXPECT_EQ(child.state(), QProcess::NotRunning);
        child.waitForFinished(5000);
        rec.kill();
        rec.waitForFinished(5000);
        for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> f = line.split(' ');
            if (f.size() == 3 && f[0] == "play") {
                r.playStarts.append(f[1].toLongLong());
                r.playDurations.append(f[2].toLongLong());
            }
        }
        const auto* p = reinterpret_cast<const qint16*>(bytes.constData());
        for (qsizetype i = 0; i < bytes.size() / 2; ++i)
            r.samples.append(qFromLittleEndian(p[i]));
        return r;
    }

    // Plays one file and checks that it is heard for as long as the file itself is audible,
    // starting soon after the call; prints the figures.
    void expectHeardWhole(const QString& what, const QList<qint16>& file) {
        const QString path = writeWav(what + ".wav", wavOf(file));
        const Recording r = recordWhilePlaying({path});
        const Span heard = audible(r.samples);
        const Span written = audible(file);
        ASSERT_GE(heard.first, 0) << qPrintable(what) << ": nothing heard";
        ASSERT_EQ(r.playStarts.size(), 1);
        const std::optional<qint64> onset = r.timeOf(heard.first);
        ASSERT_TRUE(onset.has_value());
        const double latencyMs = double(*onset - r.playStarts[0]) / 1e6;
        std::printf("[sound] %s: audible %.1f ms of the file's %.1f ms (file length %.1f ms); "
                    "start %.1f ms after the call; the call took %.2f ms\n",
                    qPrintable(what), heard.ms(), written.ms(),
                    double(file.size()) * 1000.0 / kRate, latencyMs,
                    double(r.playDurations[0]) / 1e6);
        EXPECT_NEAR(heard.ms(), written.ms(), 10.0) << qPrintable(what) << ": heard length";
        EXPECT_LT(latencyMs, 30.0) << qPrintable(what) << ": start after the call";
        EXPECT_LT(double(r.playDurations[0]) / 1e6, kCallBoundMs)
            << qPrintable(what) << ": the call held the caller";
    }

    // Checks what the i-th play call of the recording made heard: the whole file, soon after the
    // call, at its pitch and level; the call itself quick.
    void expectHeardAsWritten(const Recording& r, qsizetype i, const ToneFile& file) {
        SCOPED_TRACE(file.name);
        const double callMs = double(r.playDurations[i]) / 1e6;
        EXPECT_LT(callMs, kCallBoundMs) << "the call held the caller";
        const std::optional<Span> sound = soundOfCall(r, soundsIn(r.samples), i);
        if (!sound) {
            ADD_FAILURE() << "nothing heard (the call took " << callMs << " ms)";
            return;
        }
        const Span heard = *sound;
        const std::optional<qint64> onset = r.timeOf(heard.first);
        ASSERT_TRUE(onset.has_value());
        const double latencyMs = double(*onset - r.playStarts[i]) / 1e6;
        // Pitch and level in the middle 100 ms of what was heard. A pure tone's power at its
        // own frequency is half the signal's mean square; the sink mixes k tones at equal level.
        const qsizetype middle = (heard.first + heard.last) / 2 - kRate / 20;
        const double ms2 = meanSquare(r.samples, middle, kRate / 10);
        const QList<double> tones = file.tones();
        const double k = double(tones.size());
        QString share;
        for (const double hz : tones) {
            const double p = power(r.samples, middle, kRate / 10, hz) / ms2;
            share += QStringLiteral(" %1 Hz %2").arg(hz).arg(p, 0, 'f', 2);
            EXPECT_GT(p, 0.6 / (2 * k)) << hz << " Hz is not there as written";
        }
        const double level = std::sqrt(ms2);
        const double written = 0.4 * 32767 / std::sqrt(2 * k);
        std::printf("[sound] %s: heard %.1f ms of %d ms, from %.1f ms after the call; the call "
                    "took %.2f ms; level %.0f of %.0f; share of the power:%s\n",
                    file.name, heard.ms(), file.ms, latencyMs, callMs, level, written,
                    qPrintable(share));
        EXPECT_NEAR(heard.ms(), file.ms, 10.0) << "heard length";
        EXPECT_LT(latencyMs, kStartBoundMs) << "start after the call";
        EXPECT_NEAR(level, written, 0.3 * written) << "level";
    }

    // Plays each file once, a quarter of a second of silence between them, and checks each.
    void expectEachHeardAsWritten(const QList<ToneFile>& files) {
        QStringList args;
        for (qsizetype i = 0; i < files.size(); ++i) {
            if (i > 0)
                args << QStringLiteral("wait:%1").arg(files[i - 1].ms + 250);
            args << writeWav(QString::fromLatin1(files[i].name) + ".wav", files[i].bytes());
        }
        const Recording r = recordWhilePlaying(args);
        ASSERT_EQ(r.playStarts.size(), files.size());
        for (qsizetype i = 0; i < files.size(); ++i)
            expectHeardAsWritten(r, i, files[i]);
    }

    QTemporaryDir dir;
    QProcessEnvironment env;
    QProcess server;
};

TEST_F(PulseSoundTest, TwoToneFileIsHeardWholeToItsLastNote) {
    QList<qint16> twoTone = tone(330, 200);
    twoTone += tone(1320, 200);
    expectHeardWhole(QStringLiteral("two-tone"), twoTone);

    // The high note is there up to the end, not only some energy somewhere.
    const Recording r = recordWhilePlaying({writeWav("again.wav", wavOf(twoTone))});
    const Span heard = audible(r.samples);
    ASSERT_GE(heard.first, 0);
    const qsizetype lastStretch = heard.last - kRate / 20; // the last 50 ms heard
    EXPECT_GT(power(r.samples, lastStretch, kRate / 20, 1320),
              20 * power(r.samples, lastStretch, kRate / 20, 330));
    const qsizetype firstStretch = heard.first + kRate / 100;
    EXPECT_GT(power(r.samples, firstStretch, kRate / 20, 330),
              20 * power(r.samples, firstStretch, kRate / 20, 1320));
}

TEST_F(PulseSoundTest, DemoTickIsHeardWhole) {
    expectHeardWhole(QStringLiteral("di"), demoart::tickSamples());
}

TEST_F(PulseSoundTest, NewSoundEndsThePlayingOneAtOnce) {
    const QString low = writeWav("low.wav", wavOf(tone(330, 400)));
    const QString high = writeWav("high.wav", wavOf(tone(1320, 200)));
    const Recording r = recordWhilePlaying({low, "wait:120", high});
    ASSERT_EQ(r.playStarts.size(), 2);
    const Span heard = audible(r.samples);
    ASSERT_GE(heard.first, 0) << "nothing heard";
    // Where the high note takes over, in 5 ms steps.
    const qsizetype step = kRate / 200;
    qsizetype switchAt = -1;
    for (qsizetype i = heard.first; i + step <= heard.last; i += step)
        if (power(r.samples, i, step, 1320) > 4 * power(r.samples, i, step, 330)) {
            switchAt = i;
            break;
        }
    ASSERT_GE(switchAt, 0) << "the second sound was not heard";
    // The first sound is heard alone until then...
    EXPECT_GT(double(switchAt - heard.first) * 1000.0 / kRate, 80.0);
    // ...and not at all from 10 ms after the second one began.
    const qsizetype after = switchAt + kRate / 100;
    const qsizetype rest = heard.last - after;
    ASSERT_GT(rest, kRate / 10);
    EXPECT_LT(power(r.samples, after, rest, 330), 0.01 * power(r.samples, after, rest, 1320))
        << "the first sound went on under the second";
    // The second is heard whole: 200 ms from its start.
    const double secondMs = double(heard.last - switchAt) * 1000.0 / kRate;
    std::printf("[sound] cut: first heard alone %.1f ms, second heard %.1f ms of 200 ms\n",
                double(switchAt - heard.first) * 1000.0 / kRate, secondMs);
    EXPECT_NEAR(secondMs, 200.0, 10.0);
}

// Every encoding a sound editor saves is heard whole, at its pitch and level, whatever the
// event-sound service reads itself (the mono sink mixes a stereo file's two tones).
TEST_F(PulseSoundTest, IntegerPcmOfEveryDepthIsHeard) {
    expectEachHeardAsWritten({
        {"u8-mono-22050", formatOf(WavEncoding::Unsigned8, 1, 22050), {440}},
        {"s16-stereo-48000", formatOf(WavEncoding::Signed16, 2, 48000), {523, 784}},
        {"s24-mono-44100", formatOf(WavEncoding::Signed24, 1, 44100), {659}},
        {"s24-stereo-48000", formatOf(WavEncoding::Signed24, 2, 48000), {587, 880}},
        {"s32-mono-22050", formatOf(WavEncoding::Signed32, 1, 22050), {698}},
        {"s32-stereo-44100", formatOf(WavEncoding::Signed32, 2, 44100), {392, 988}},
    });
}

TEST_F(PulseSoundTest, FloatWavsAreHeard) {
    expectEachHeardAsWritten({
        {"f32-mono-48000", formatOf(WavEncoding::Float32, 1, 48000), {440}},
        {"f32-stereo-22050", formatOf(WavEncoding::Float32, 2, 22050), {523, 784}},
        {"f64-mono-44100", formatOf(WavEncoding::Float64, 1, 44100), {659}},
        {"f64-stereo-48000", formatOf(WavEncoding::Float64, 2, 48000), {587, 880}},
        // An end sound of some seconds: its first play must not hold the caller either.
        {"f32-stereo-48000-long", formatOf(WavEncoding::Float32, 2, 48000), {392, 988}, 3000},
    });
}

// Float files may hold samples beyond full scale (an editor's gain pushed past 0 dB): they are
// heard clipped, not wrapped round to the other end, which would crack at every crest.
TEST_F(PulseSoundTest, FloatBeyondFullScaleIsClippedNotWrapped) {
    const QString path =
        writeWav("loud.wav", vq::test::encodeWav(formatOf(WavEncoding::Float32, 1, kRate),
                                                 {vq::test::sineAt(kRate, 440, 250, 1.5)}));
    const Recording r = recordWhilePlaying({path});
    const QList<Span> sounds = soundsIn(r.samples);
    ASSERT_EQ(sounds.size(), 1) << "not heard as one sound";
    const Span heard = sounds.first();
    // A 440 Hz sine moves by a few thousand from one sample to the next (and a stream that runs
    // short on a busy machine drops to 0): only a wrap leaps from one half of the range to the
    // other.
    int leaps = 0;
    int peak = 0;
    for (qsizetype i = heard.first; i + 1 < heard.last; ++i) {
        const int a = r.samples[i];
        const int b = r.samples[i + 1];
        leaps += (a > 16384 && b < -16384) || (a < -16384 && b > 16384);
        peak = std::max(peak, std::abs(a));
    }
    std::printf("[sound] 1.5 x full scale: heard %.1f ms, peak %d, %d leaps across the range\n",
                heard.ms(), peak, leaps);
    EXPECT_NEAR(heard.ms(), 250.0, 10.0);
    EXPECT_GE(peak, 32000) << "not at full scale";
    EXPECT_EQ(leaps, 0) << "wrapped round";
}

// WAVE_FORMAT_EXTENSIBLE, as editors write 24-bit and multichannel files (and some write every
// file).
TEST_F(PulseSoundTest, ExtensibleHeadersAreHeard) {
    expectEachHeardAsWritten({
        {"ext-s16-stereo-44100",
         formatOf(WavEncoding::Signed16, 2, 44100, kExtensible),
         {523, 784}},
        {"ext-s24-stereo-48000",
         formatOf(WavEncoding::Signed24, 2, 48000, kExtensible),
         {587, 880}},
        {"ext-s32-mono-22050", formatOf(WavEncoding::Signed32, 1, 22050, kExtensible), {698}},
        {"ext-f32-mono-44100", formatOf(WavEncoding::Float32, 1, 44100, kExtensible), {440}},
        {"ext-s24-5.1-48000", formatOf(WavEncoding::Signed24, 6, 48000, kExtensible), {659}},
    });
}

// The file is read as it is at each call: rewritten in place to the same size between two
// ticks, then replaced by one the service plays itself.
TEST_F(PulseSoundTest, ChangedFileIsHeardAsItIsNow) {
    const ToneFile first{"first", formatOf(WavEncoding::Signed24, 1, 48000), {440}};
    const ToneFile second{"second", formatOf(WavEncoding::Signed24, 1, 48000), {660}};
    const ToneFile third{"third", formatOf(WavEncoding::Signed16, 1, 44100), {880}};
    ASSERT_EQ(first.bytes().size(), second.bytes().size());
    const QString di = writeWav("di.wav", first.bytes());
    const QString later = writeWav("second.wav", second.bytes());
    const QString last = writeWav("third.wav", third.bytes());
    const Recording r = recordWhilePlaying({di, "wait:500", "overwrite:" + later + ">" + di, di,
                                            "wait:500", "overwrite:" + last + ">" + di, di});
    ASSERT_EQ(r.playStarts.size(), 3);
    EXPECT_EQ(QDir(dir.filePath("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList())
        << "the player left files behind";
    const QList<ToneFile> heardAs{first, second, third};
    for (qsizetype i = 0; i < 3; ++i) {
        expectHeardAsWritten(r, i, heardAs[i]);
        if (i == 0)
            continue;
        // Nothing left of the file as it was.
        const std::optional<Span> sound = soundOfCall(r, soundsIn(r.samples), i);
        if (!sound)
            continue;
        const Span heard = *sound;
        const double before = heardAs[i - 1].hz[0];
        EXPECT_LT(power(r.samples, heard.first, heard.last - heard.first, before),
                  0.01 * meanSquare(r.samples, heard.first, heard.last - heard.first))
            << heardAs[i].name << ": " << before << " Hz of the earlier file is heard";
    }
}

// A file that is no sound at all, or a damaged one, gives silence at once, and the sound that was
// playing ends there as with any other new sound.
TEST_F(PulseSoundTest, DamagedOrForeignFileIsSilentAndEndsThePlayingSound) {
    const ToneFile playing{
        "playing", formatOf(WavEncoding::Signed24, 2, 48000, kExtensible), {330}, 800};
    const QByteArray good = playing.bytes();
    QByteArray noChannels = ToneFile{"f", formatOf(WavEncoding::Float32, 1, 44100), {440}}.bytes();
    noChannels[22] = 0; // the format chunk's channel count
    noChannels[23] = 0;
    QByteArray noise(4096, 0);
    vq::test::putNoise(noise, 0, noise.size());
    const QList<std::pair<const char*, QByteArray>> bad{
        {"text", "This is not a sound.\n"},
        {"header-cut", good.left(50)},
        {"no-channels", noChannels},
        {"noise", noise},
        {"riff-noise", QByteArray("RIFF\xff\xff\x00\x00WAVEfmt ", 16) + noise},
    };
    const QString tone = writeWav("playing.wav", good);
    QStringList args;
    for (const auto& [name, bytes] : bad)
        args << tone << "wait:150" << writeWav(QString::fromLatin1(name) + ".wav", bytes)
             << "wait:300";
    const Recording r = recordWhilePlaying(args);
    ASSERT_EQ(r.playStarts.size(), 2 * bad.size());
    const QList<Span> sounds = soundsIn(r.samples);
    for (qsizetype k = 0; k < bad.size(); ++k) {
        SCOPED_TRACE(bad[k].first);
        // The 800 ms sound is heard for the 150 ms up to the next call, and nothing after it.
        const std::optional<Span> before = soundOfCall(r, sounds, 2 * k);
        const std::optional<Span> after = soundOfCall(r, sounds, 2 * k + 1);
        std::printf("[sound] %s: the sound before it heard %.1f ms, then %.1f ms; the call took "
                    "%.2f ms\n",
                    bad[k].first, before ? before->ms() : 0.0, after ? after->ms() : 0.0,
                    double(r.playDurations[2 * k + 1]) / 1e6);
        ASSERT_TRUE(before.has_value()) << "the playing sound was not heard";
        EXPECT_GT(before->ms(), 100.0) << "the playing sound was not heard up to the next call";
        // Ended by the call, wherever a loaded machine let the wait end: not heard past it by
        // more than the server's own start-up of a sound.
        const double pastTheCallMs =
            double(before->last - r.indexAt(r.playStarts[2 * k + 1])) * 1000.0 / kRate;
        EXPECT_LT(pastTheCallMs, kStartBoundMs) << "the playing sound went on after the next call";
        EXPECT_FALSE(after.has_value()) << "something was heard after the call";
        EXPECT_LT(double(r.playDurations[2 * k + 1]) / 1e6, kCallBoundMs)
            << "the call held the caller";
    }
}

#ifdef VQ_SOUND_COPIES // where the sound path decodes through libsndfile
// A song-length clip as FLAC, `seconds` of a tone at 0.4 of full scale: the sound path plays it
// from a 16-bit copy, whose decoding takes longer than a frame.
QString writeLongFlac(const QString& path, double hz, int seconds) {
    const vq::SndFileLibrary* sf = vq::SndFileLibrary::get();
    if (!sf)
        return {};
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* file = sf->open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return {};
    std::vector<float> block(kRate);
    for (qint64 second = 0; second < seconds; ++second) {
        for (int i = 0; i < kRate; ++i)
            block[std::size_t(i)] = float(
                0.4 * std::sin(2 * std::numbers::pi * hz * double(second * kRate + i) / kRate));
        sf->writeFrames(file, block.data(), kRate);
    }
    return sf->close(file) == 0 ? path : QString();
}

// A question's song starts with the question without holding the show while it is decoded, and
// the next step ends it as with any sound.
TEST_F(PulseSoundTest, ALongClipIsDecodedBesideTheCallerAndHeard) {
    const QString song = writeLongFlac(dir.filePath("song.flac"), 440, 600);
    if (song.isEmpty())
        GTEST_SKIP() << "libsndfile does not write FLAC here";
    const QString next = writeWav("next.wav", wavOf(tone(880, 250)));
    // The next sound comes well after the song's decoding, which takes over a second under the
    // sanitizers.
    const Recording r = recordWhilePlaying({song, "wait:3000", next});
    ASSERT_EQ(r.playStarts.size(), 2);
    const double callMs = double(r.playDurations[0]) / 1e6;
    EXPECT_LT(callMs, kCallBoundMs) << "the call decoded the song before returning";
    const qsizetype songFrom = r.indexAt(r.playStarts[0]);
    const qsizetype nextFrom = r.indexAt(r.playStarts[1]);
    const Span heard = audible(r.samples, songFrom);
    ASSERT_GE(heard.first, 0) << "the song was not heard";
    const double startMs = double(heard.first - songFrom) * 1000.0 / kRate;
    std::printf("[sound] a 10-minute FLAC: the call took %.2f ms, heard from %.1f ms after it\n",
                callMs, startMs);
    EXPECT_LT(startMs, 2500.0) << "the song started late";
    ASSERT_LT(heard.first + kRate / 5, nextFrom) << "the song was not heard before the next sound";
    EXPECT_GT(power(r.samples, heard.first + kRate / 20, kRate / 10, 440),
              20 * power(r.samples, heard.first + kRate / 20, kRate / 10, 880));
    // The next sound alone after its start: the song has ended.
    const qsizetype after = nextFrom + kRate / 10;
    EXPECT_GT(power(r.samples, after, kRate / 10, 880),
              20 * power(r.samples, after, kRate / 10, 440));
}

// A step taken while the song is still being decoded: the song never starts afterwards.
TEST_F(PulseSoundTest, ASoundBeforeTheLongClipIsDecodedEndsItUnheard) {
    const QString song = writeLongFlac(dir.filePath("song.flac"), 440, 600);
    if (song.isEmpty())
        GTEST_SKIP() << "libsndfile does not write FLAC here";
    const QString next = writeWav("next.wav", wavOf(tone(880, 250)));
    const Recording r = recordWhilePlaying({song, next, "wait:1500"});
    ASSERT_EQ(r.playStarts.size(), 2);
    const Span heard = audible(r.samples, r.indexAt(r.playStarts[0]));
    ASSERT_GE(heard.first, 0) << "the next sound was not heard";
    const qsizetype count = r.samples.size() - heard.first;
    EXPECT_LT(power(r.samples, heard.first, count, 440),
              0.01 * power(r.samples, heard.first, count, 880))
        << "the song started after the sound that came after it";
}
#endif

// An M4A clip (here Apple's lossless coding, one second of a tone on the left channel only) plays
// through a copy the media library decodes, heard whole at its pitch. The first play loads the
// library beside the caller and starts later; the second plays the kept copy.
TEST_F(PulseSoundTest, AnM4aClipIsHeardWhole) {
    if (!vq::sounds().plays(vq::SoundKind::M4a))
        GTEST_SKIP() << "the media decoding library is not installed";
    const QString m4a = dir.filePath("left.m4a");
    ASSERT_TRUE(QFile::copy(
        QStringLiteral(VELQUO_SOURCE_DIR "/tests/platform/clips/left-only-alac.m4a"), m4a));
    const Recording r = recordWhilePlaying({m4a, "wait:1300", m4a});
    ASSERT_EQ(r.playStarts.size(), 2);
    const QList<Span> sounds = soundsIn(r.samples);
    for (const qsizetype i : {0, 1}) {
        SCOPED_TRACE(i == 0 ? "the first play" : "the second play");
        const std::optional<Span> heard = soundOfCall(r, sounds, i);
        ASSERT_TRUE(heard.has_value()) << "nothing heard";
        const std::optional<qint64> onset = r.timeOf(heard->first);
        ASSERT_TRUE(onset.has_value());
        const double latencyMs = double(*onset - r.playStarts[i]) / 1e6;
        const double callMs = double(r.playDurations[i]) / 1e6;
        std::printf("[sound] an M4A (ALAC) clip: heard %.1f ms of 1000 ms, from %.1f ms after "
                    "the call; the call took %.2f ms\n",
                    heard->ms(), latencyMs, callMs);
        EXPECT_NEAR(heard->ms(), 1000.0, 10.0);
        EXPECT_LT(callMs, kCallBoundMs);
        EXPECT_LT(latencyMs, i == 0 ? 250.0 : kStartBoundMs);
        const qsizetype middle = (heard->first + heard->last) / 2 - kRate / 20;
        EXPECT_GT(power(r.samples, middle, kRate / 10, 440),
                  0.3 * meanSquare(r.samples, middle, kRate / 10));
    }
}

TEST_F(PulseSoundTest, MissingFileIsSilent) {
    const Recording r = recordWhilePlaying({dir.filePath("missing.wav")});
    EXPECT_LT(audible(r.samples).first, 0) << "something was heard";
    ASSERT_EQ(r.playDurations.size(), 1);
    EXPECT_LT(double(r.playDurations[0]) / 1e6, kCallBoundMs);
}

TEST(SoundCall, NoSoundServerIsSilenceWithoutHoldingTheCaller) {
    ASSERT_TRUE(kPlayRole);
    QTemporaryDir dir;
    const QString path = dir.filePath("tick.wav");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(wavOf(tone(880, 100)));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("HOME", dir.path());
    env.insert("PULSE_SERVER", "unix:" + dir.filePath("no-server"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(vq::test::childProgram(),
                vq::test::childArguments("play-sound", {path, "wait:20", path}));
    ASSERT_TRUE(child.waitForFinished(15000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
    int calls = 0;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() == 3 && f[0] == "play") {
            ++calls;
            EXPECT_LT(f[2].toDouble() / 1e6, kCallBoundMs) << "a call held the caller";
        }
    }
    EXPECT_EQ(calls, 2);
}

TEST(SoundCall, MissingFileOrNoServerNeverFails) {
    // Whatever the environment, these return at once and raise nothing.
    vq::playSound(QStringLiteral("/nonexistent/0.wav"));
    vq::playSound(QString());
    EXPECT_FALSE(vq::sounds().busy());
}

} // namespace

// A clip's kind is told by its bytes, whatever its name says; the player says what it plays.
TEST(SoundKinds, ToldByTheFirstBytesAndNamedAsThePlayerPlaysThem) {
    using vq::SoundKind;
    EXPECT_EQ(vq::soundKindOf(QByteArray("RIFF\x24\x08\0\0WAVEfmt ", 16)), SoundKind::Wav);
    EXPECT_EQ(vq::soundKindOf(QByteArray("RIFF\x24\x08\0\0AVI LIST", 16)), SoundKind::Other);
    EXPECT_EQ(vq::soundKindOf("OggS\0\x02"), SoundKind::Ogg);
    EXPECT_EQ(vq::soundKindOf("fLaC\0\0\0\x22"), SoundKind::Flac);
    EXPECT_EQ(vq::soundKindOf("ID3\x04\0\0"), SoundKind::Mp3);
    EXPECT_EQ(vq::soundKindOf(QByteArray("\xFF\xFB\x90\x64", 4)), SoundKind::Mp3);
    EXPECT_EQ(vq::soundKindOf(QByteArray("\0\0\0\x20"
                                         "ftypM4A ",
                                         12)),
              SoundKind::M4a);
    EXPECT_EQ(vq::soundKindOf("RIFF"), SoundKind::Other); // cut short
    EXPECT_EQ(vq::soundKindOf({}), SoundKind::Other);

    struct WavOnly : vq::SoundService {
        void play(const QString&) override {}
    } wavOnly;
    EXPECT_EQ(wavOnly.playableKinds(), QStringLiteral("WAV"));
    struct Decoding : WavOnly {
        bool plays(SoundKind kind) const override { return kind != SoundKind::Other; }
    } decoding;
    EXPECT_EQ(decoding.playableKinds(), QStringLiteral("WAV、OGG、FLAC、MP3、M4A"));
    // The desktop's player: WAV everywhere (what else, the clip tests hear on each platform).
    EXPECT_TRUE(vq::sounds().plays(SoundKind::Wav));
    EXPECT_FALSE(vq::sounds().plays(SoundKind::Other));
}
