// velquo-bank: builds, exports and checks question banks (Jet 4.0 files).
#include "bank.h"

#include "data/jetwriter.h"
#include "data/jetwriter_fixtures.h"
#include "platform/exception.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

void print(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

QString usageText() {
    return QStringLiteral(
               "usage:\n"
               "  velquo-bank build QUESTIONS db.DLL [--sheet NAME] [--password X | "
               "--no-password]\n"
               "  velquo-bank export db.DLL [TABLE] [--password X | --no-password]\n"
               "  velquo-bank check db.DLL [--password X | --no-password]\n"
               "  velquo-bank fixture KIND out.DLL [--password X | --no-password]\n"
               "QUESTIONS is a CSV file (UTF-8, GBK or UTF-16; comma- or tab-separated) or an "
               ".xlsx\n"
               "workbook (the first sheet, or the one --sheet names) with the columns 编号 "
               "(optional),\n"
               "题目 and 答案 in any order; other columns are left out. A file already at "
               "db.DLL is\n"
               "kept as db.DLL.bak when the new bank is written.\n"
               "The password is fmrTK20914 unless --password or --no-password says otherwise.\n"
               "check exits with 1 when the show would fail with the bank.\n"
               "fixture kinds: %1\n")
        .arg(vq::jet::fixtureKinds().join(QStringLiteral(", ")));
}

int usage() {
    print(stderr, usageText());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString password = vq::jet::kBankPassword;
    QString sheet;
    for (qsizetype i = 0; i < args.size();) {
        if (args[i] == QLatin1String("--help") || args[i] == QLatin1String("-h")) {
            print(stdout, usageText());
            return 0;
        }
        if (args[i] == QLatin1String("--sheet") && i + 1 < args.size()) {
            sheet = args[i + 1];
            args.remove(i, 2);
        } else if (args[i].startsWith(QLatin1String("--sheet="))) {
            sheet = args[i].mid(8);
            args.removeAt(i);
        } else if (args[i] == QLatin1String("--no-password")) {
            password.clear();
            args.removeAt(i);
        } else if (args[i] == QLatin1String("--password") && i + 1 < args.size()) {
            password = args[i + 1];
            args.remove(i, 2);
        } else if (args[i].startsWith(QLatin1String("--password="))) {
            password = args[i].mid(11);
            args.removeAt(i);
        } else if (args[i].startsWith(QLatin1String("--"))) {
            print(stderr, QStringLiteral("velquo-bank: unknown option %1\n").arg(args[i]));
            return usage();
        } else {
            ++i;
        }
    }
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    const vq::bank::Progress progress = [](const QString& line) {
        print(stderr, line + QLatin1Char('\n'));
    };
    try {
        if (command == QLatin1String("build") && args.size() == 2) {
            QElapsedTimer timer;
            timer.start();
            vq::bank::BuildOptions options;
            options.password = password;
            options.sheet = sheet;
            options.progress = progress;
            options.notes = progress;
            const vq::bank::BuildResult r = vq::bank::buildBank(args[0], args[1], options);
            if (!r.backup.isEmpty())
                print(stderr,
                      QStringLiteral("the previous %1 is kept as %2\n").arg(args[1], r.backup));
            print(stderr, QStringLiteral("%1: %2 questions, numbers %3..%4, %5 bytes, %6 ms\n")
                              .arg(args[1])
                              .arg(r.rows)
                              .arg(r.lowest)
                              .arg(r.highest)
                              .arg(r.bytes)
                              .arg(timer.elapsed()));
            return 0;
        }
        if (command == QLatin1String("export") && (args.size() == 1 || args.size() == 2)) {
            vq::bank::exportTable(args[0], args.size() == 2 ? args[1] : QString(), password,
                                  stdout);
            return 0;
        }
        if (command == QLatin1String("check") && args.size() == 1) {
            // The report goes to stdout either way; the exit status says whether the show can run.
            const vq::bank::CheckReport report = vq::bank::checkBank(args[0], password, progress);
            print(stdout, report.text);
            return report.ok ? 0 : 1;
        }
        if (command == QLatin1String("fixture") && args.size() == 2) {
            vq::jet::writeFixture(args[0], args[1], {password});
            return 0;
        }
    } catch (const vq::Exception& e) {
        print(stderr, QStringLiteral("velquo-bank: %1\n").arg(e.message()));
        return 1;
    }
    return usage();
}
