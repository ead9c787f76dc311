// velquo-bank: builds, exports and checks question banks (Jet 4.0 files).
#include "bank.h"
#include "language.h"

#include "controls/application.h"
#include "data/jetwriter.h"
#include "platform/exception.h"
#include "platform/files.h"
#include "platform/memory.h"

#include <QApplication>
#include <QCoreApplication>
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
    return QCoreApplication::translate(
        "velquo-bank",
        "用法：\n"
        "  velquo-bank build 题目表 db.DLL [--sheet 工作表名] [--password 密码 | --no-password]\n"
        "  velquo-bank export db.DLL [表名] [--password 密码 | --no-password]\n"
        "  velquo-bank check db.DLL [--settings opt.ini] [--password 密码 | --no-password]\n"
        "build 由题目表生成题库。题目表是 CSV 文件（UTF-8、GBK 或 UTF-16 编码，逗号或制表符\n"
        "分隔）或 .xlsx 工作簿（读第一个工作表，或 --sheet 指定的工作表），要有“编号”（可省略）、\n"
        "“题目”和“答案”三列，顺序不限；可以再有“图片”“答案图片”“声音”（题库旁边“题库素材”\n"
        "文件夹中的文件名）、“时间”（秒）和“分值”（整数）列，其他列不读入。db.DLL 处原有的文件\n"
        "在新题库写好后保留为 db.DLL.bak。\n"
        "export 把表导出为 CSV；check 像放映程序一样打开题库并逐题检查，放映会出错时退出码为 1。\n"
        "check 还按放映程序的设置文件（题库旁边的 opt.ini，或 --settings 指定的文件）把每道题\n"
        "和答案排在屏幕上（每英寸 96 点），指出答案会超出 1080 行高的屏幕下边的题。\n"
        "不加 --password 或 --no-password 时，密码是 fmrTK20914。\n");
}

int usage() {
    print(stderr, usageText());
    return 2;
}

// The options any command takes; what is left of the arguments is the command and its files.
struct Options {
    QString password = vq::jet::kBankPassword;
    QString sheet;
    QString settings; // the installation's opt.ini for check; empty: the one beside the bank
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
        } else if (args[i] == QLatin1String("--settings") && i + 1 < args.size()) {
            options.settings = args[i + 1];
            args.remove(i, 2);
        } else if (args[i].startsWith(QLatin1String("--settings="))) {
            options.settings = args[i].mid(11);
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
            print(stderr,
                  QCoreApplication::translate("velquo-bank", "velquo-bank: 没有 %1 这个选项\n")
                      .arg(args[i]));
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
        print(stderr, QCoreApplication::translate("velquo-bank", "原来的 %1 已保留为 %2\n")
                          .arg(bankPath, r.backup));
    print(stderr, QCoreApplication::translate("velquo-bank",
                                              "%1：%2 道题，编号 %3 至 %4，%5 字节，用时 %6 毫秒\n")
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
            vq::bank::checkBank(args[0], options.password, progress, {}, options.settings);
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
    // The check lays questions out in the presenter's fonts, found as the presenter finds them.
    if (widgets)
        vq::installFontSubstitutes();
    // Help, messages and reports in the user's language, Qt's own reasons (a file that cannot
    // be opened, an XML error) with them.
    vq::bank::installToolLanguage();
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
