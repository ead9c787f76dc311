// velquo-demoart: makes the demo installation's pictures, sounds and opt.ini, and checks an
// assembled installation. Everything is drawn and synthesised here, the same on every build.
#include "art.h"
#include "ini.h"
#include "sound.h"

#include "controls/application.h"
#include "platform/exception.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>

#include <cstdio>

namespace {

void print(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

int usage() {
    print(stderr,
          QStringLiteral(
              "usage:\n"
              "  velquo-demoart ini SOURCE.ini OUT/opt.ini   UTF-8 source to the program's GBK, CR "
              "LF file\n"
              "  velquo-demoart pictures OUTDIR              bg.jpg, welcome.jpg, next.png\n"
              "  velquo-demoart sounds OUTDIR                di.wav, 0.wav\n"
              "  velquo-demoart check DIR [QUESTIONS.csv]    what would spoil the show\n"));
    return 2;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() ||
        !f.flush())
        throw vq::Exception(QStringLiteral("%1: %2").arg(path, f.errorString()));
}

void writePicture(const QString& path, const QImage& image, const char* format, int quality) {
    QImageWriter w(path, format);
    w.setQuality(quality);
    if (!w.write(image))
        throw vq::Exception(QStringLiteral("%1: %2").arg(path, w.errorString()));
}

QString folder(const QString& path) {
    if (!QDir().mkpath(path))
        throw vq::Exception(QStringLiteral("cannot make the folder %1").arg(path));
    return QDir(path).absolutePath() + QLatin1Char('/');
}

} // namespace

int main(int argc, char** argv) {
    // Drawing and measuring text needs no display; the same platform everywhere keeps the output
    // the same.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vq::installFontSubstitutes();
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    try {
        if (command == u"ini" && args.size() == 2) {
            QFile source(args[0]);
            if (!source.open(QIODevice::ReadOnly))
                throw vq::Exception(QStringLiteral("%1: %2").arg(args[0], source.errorString()));
            writeFile(args[1], demoart::installationIni(source.readAll()));
            return 0;
        }
        if (command == u"pictures" && args.size() == 1) {
            const QString out = folder(args[0]);
            writePicture(out + QStringLiteral("bg.jpg"), demoart::stageBackground({1920, 1080}),
                         "jpeg", 92);
            writePicture(out + QStringLiteral("welcome.jpg"), demoart::welcomePicture({1920, 1080}),
                         "jpeg", 92);
            writePicture(out + QStringLiteral("next.png"), demoart::nextButton(128), "png", -1);
            return 0;
        }
        if (command == u"sounds" && args.size() == 1) {
            const QString out = folder(args[0]);
            writeFile(out + QStringLiteral("di.wav"), demoart::wavFile(demoart::tickSamples()));
            writeFile(out + QStringLiteral("0.wav"), demoart::wavFile(demoart::chimeSamples()));
            return 0;
        }
        if (command == u"check" && (args.size() == 1 || args.size() == 2)) {
            const QStringList problems = demoart::checkInstallation(args[0], args.value(1));
            for (const QString& p : problems)
                print(stderr, p + QLatin1Char('\n'));
            if (problems.isEmpty())
                print(stdout, QStringLiteral("%1: the installation is complete\n").arg(args[0]));
            return problems.isEmpty() ? 0 : 1;
        }
    } catch (const vq::Exception& e) {
        print(stderr, QStringLiteral("velquo-demoart: %1\n").arg(e.message()));
        return 1;
    }
    return usage();
}
