// velquo-bank: builds, exports and checks question banks (Jet 4.0 files).
#include "bank.h"

#include "data/jetwriter.h"
#include "platform/exception.h"
#include "platform/files.h"
#include "platform/memory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

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
        "QUESTIONS is a CSV file (UTF-8, GBK or UTF-16; comma- or tab-separated) or an "
        ".xlsx\n"
        "workbook (the first sheet, or the one --sheet names) with the columns 编号 "
        "(optional),\n"
        "题目 and 答案 in any order; other columns are left out. A file already at "
        "db.DLL is\n"
        "kept as db.DLL.bak when the new bank is written.\n"
        "The password is fmrTK20914 unless --password or --no-password says otherwise.\n"
        "check exits with 1 when the show would fail with the bank.\n");
}

int usage() {
    print(stderr, usageText());
    return 2;
}

// The options any command takes; what is left of the arguments is the command and its files.
struct Options {
    QString password = vq::jet::kBankPassword;
    QString sheet;
};

// Takes the options out of args. Returns an exit status where the tool ends here (help, an
// unknown option), or -1 to go on.
int takeOptions(QStringList& args, Options& options) {
    for (qsizetype i = 0; i < args.size();) {
        if (args[i] == QLatin1String("--help") || args[i] == QLatin1String("-h")) {
            print(stdout, usageText());
            return 0;
        }
        if (args[i] == QLatin1String("--sheet") && i + 1 < args.size()) {
            options.sheet = args[i + 1];
            args.remove(i, 2);
        } else if (args[i].startsWith(QLatin1String("--sheet="))) {
            options.sheet = args[i].mid(8);
            args.removeAt(i);
        } else if (args[i] == QLatin1String("--no-password")) {
            options.password.clear();
            args.removeAt(i);
        } else if (args[i] == QLatin1String("--password") && i + 1 < args.size()) {
            options.password = args[i + 1];
            args.remove(i, 2);
        } else if (args[i].startsWith(QLatin1String("--password="))) {
            options.password = args[i].mid(11);
            args.removeAt(i);
        } else if (args[i].startsWith(QLatin1String("--"))) {
            print(stderr, QStringLiteral("velquo-bank: unknown option %1\n").arg(args[i]));
            return usage();
        } else {
            ++i;
        }
    }
    return -1;
}

void progress(const QString& line) {
    print(stderr, line + QLatin1Char('\n'));
}

int build(const QString& questions, const QString& bankPath, const Options& options) {
    QElapsedTimer timer;
    timer.start();
    vq::bank::BuildOptions build;
    build.password = options.password;
    build.sheet = options.sheet;
    build.progress = progress;
    build.notes = progress;
    const vq::bank::BuildResult r = vq::bank::buildBank(questions, bankPath, build);
    if (!r.backup.isEmpty())
        print(stderr, QStringLiteral("the previous %1 is kept as %2\n").arg(bankPath, r.backup));
    print(stderr, QStringLiteral("%1: %2 questions, numbers %3..%4, %5 bytes, %6 ms\n")
                      .arg(bankPath)
                      .arg(r.rows)
                      .arg(r.lowest)
                      .arg(r.highest)
                      .arg(r.bytes)
                      .arg(timer.elapsed()));
    return 0;
}

// Runs the command; the usage text for a command the tool does not know or a wrong count of
// files.
int run(const QString& command, const QStringList& args, const Options& options) {
    if (command == QLatin1String("build") && args.size() == 2)
        return build(args[0], args[1], options);
    if (command == QLatin1String("export") && (args.size() == 1 || args.size() == 2)) {
        vq::bank::exportTable(args[0], args.size() == 2 ? args[1] : QString(), options.password,
                              stdout);
        return 0;
    }
    if (command == QLatin1String("check") && args.size() == 1) {
        // The report goes to stdout either way; the exit status says whether the show can run.
        const vq::bank::CheckReport report =
            vq::bank::checkBank(args[0], options.password, progress);
        print(stdout, report.text);
        return report.ok ? 0 : 1;
    }
    return usage();
}

} // namespace

int main(int argc, char** argv) {
    // A run of the tool is short and its buffers come and go by the megabyte.
    vq::reuseFreedMemory();
    // Exports and reports are the same bytes on every system.
    vq::useBinaryStandardStreams();
    // The check runs the presenter's own pool fill, whose store is a (never shown) text
    // control; the tool itself opens no window, so it needs no display. The other commands
    // need no widgets at all, and start without loading a platform and its fonts.
    const bool widgets = std::any_of(argv + 1, argv + argc,
                                     [](const char* a) { return std::strcmp(a, "check") == 0; });
    if (widgets && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The tool's streams carry its own output only, not what the platform's start notes.
    const QtMessageHandler handler =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const std::unique_ptr<QCoreApplication> app(widgets ? new QApplication(argc, argv)
                                                        : new QCoreApplication(argc, argv));
    qInstallMessageHandler(handler);
    QStringList args = QCoreApplication::arguments().mid(1);
    Options options;
    if (const int status = takeOptions(args, options); status >= 0)
        return status;
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    try {
        return run(command, args, options);
    } catch (const vq::Exception& e) {
        print(stderr, QStringLiteral("velquo-bank: %1\n").arg(e.message()));
        return 1;
    }
}
