// The sound call against a real sound server: a private PulseAudio with a null sink, whose
// monitor is recorded while a child process plays through vq::playSound.
#include "platform/sound.h"
#include "support/child_process.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Plays the file named by the argument and returns once the player is done (bounded).
const bool kPlayRole = vq::test::registerChildRole("play-sound", [](const QStringList& args) {
    vq::playSound(args.value(0));
    QDeadlineTimer deadline(5000);
    // Give the effect a chance to start loading before asking whether it is busy.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    while (vq::sounds().busy() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return 0;
});

QByteArray sineWav(int hz, int ms) {
    const int rate = 22050;
    const int frames = rate * ms / 1000;
    QByteArray pcm;
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<qint16>(12000 * std::sin(2 * M_PI * hz * i / rate));
        pcm.append(reinterpret_cast<const char*>(&v), 2);
    }
    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + pcm.size());
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(pcm.size());
    out.writeRawData(pcm.constData(), int(pcm.size()));
    return wav;
}

double rms(const QByteArray& s16) {
    const auto* p = reinterpret_cast<const qint16*>(s16.constData());
    const qsizetype n = s16.size() / 2;
    if (n == 0)
        return 0;
    double sum = 0;
    for (qsizetype i = 0; i < n; ++i)
        sum += double(p[i]) * p[i];
    return std::sqrt(sum / double(n));
}

class PulseSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kPlayRole);
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
                      "--disable-shm=yes", "-L", "module-null-sink sink_name=vqtest", "-L",
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
    QString socket() const { return dir.filePath("native"); }

    // Records the sink's monitor while the child plays the file; returns the raw samples.
    QByteArray recordWhilePlaying(const QString& file) {
        QProcess rec;
        rec.setProcessEnvironment(env);
        rec.start("parec", {"-d", "vqtest.monitor", "--format=s16le", "--channels=1",
                            "--rate=22050", "--latency-msec=20"});
        EXPECT_TRUE(rec.waitForStarted(5000));
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(vq::test::childProgram(), vq::test::childArguments("play-sound", {file}));
        EXPECT_TRUE(child.waitForFinished(15000));
        QByteArray samples;
        // The monitor streams without end: take what the next 300 ms bring, then stop.
        QDeadlineTimer tail(300);
        while (!tail.hasExpired()) {
            rec.waitForReadyRead(int(std::max<qint64>(1, tail.remainingTime())));
            samples += rec.readAllStandardOutput();
        }
        rec.kill();
        rec.waitForFinished(5000);
        return samples + rec.readAllStandardOutput();
    }

    QTemporaryDir dir;
    QProcessEnvironment env;
    QProcess server;
};

TEST_F(PulseSoundTest, WavFileIsHeardAndMissingFileIsSilent) {
    const QString wav = dir.filePath("di.wav");
    {
        QFile f(wav);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(sineWav(880, 400));
    }
    const QByteArray heard = recordWhilePlaying(wav);
    EXPECT_GT(rms(heard), 1000.0) << "recorded " << heard.size() << " bytes";
    const QByteArray silence = recordWhilePlaying(dir.filePath("missing.wav"));
    EXPECT_LT(rms(silence), 50.0);
}

TEST(SoundCall, MissingFileOrNoServerNeverFails) {
    // Whatever the environment, these return at once and raise nothing.
    vq::playSound(QStringLiteral("/nonexistent/0.wav"));
    vq::playSound(QString());
    EXPECT_FALSE(vq::sounds().busy());
}

} // namespace
