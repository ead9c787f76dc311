// The sound call against a real sound server: a private PulseAudio with a null sink, whose
// monitor is recorded while a child process plays through vq::playSound. What is measured is
// what a hall would hear: how long each sound is audible, when it starts, and that a new sound
// ends the one still playing.
#include "platform/sound.h"
#include "support/child_process.h"

#include "sound.h" // the demo installation's sounds (tools/demoart)

#include <QCoreApplication>
#include <QDeadlineTimer>
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
// run. Prints "play START_NS DURATION_NS" for every call, then waits (bounded) until the last
// sound is over. As in the program, the sound service is prepared at start, a while before the
// first sound.
const bool kPlayRole = vq::test::registerChildRole("play-sound", [](const QStringList& args) {
    vq::sounds().prepare();
    runEventsFor(300);
    for (const QString& arg : args) {
        if (arg.startsWith(u"wait:")) {
            runEventsFor(arg.mid(5).toInt());
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
// own threads) may keep a quick one from running for some tens of milliseconds.
constexpr double kCallBoundMs = 50.0;

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
};

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
