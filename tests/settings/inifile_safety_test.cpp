// The settings file under the conditions a show meets in the field: a full disk, a read-only
// folder, failing disks, two presenters writing at once, special files, files owned by another
// user, writers killed part-way, and files as other editors save them.
#include "platform/ansi.h"
#include "platform/exception.h"
#include "platform/files_testing.h"
#include "settings/inifile.h"
#include "settings/settings.h"
#include "support/child_process.h"
#include "support/file_bytes.h"
#include "support/skips.h"
#include "support/small_disk.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using vq::IniFile;

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using vq::test::readBytes;
using vq::test::writeBytes;

// All 23 keys, GBK, CR LF.
QByteArray fullSettings() {
    QByteArray out = "[canshu]\r\n";
    for (const auto& key : vq::kSettingKeys) {
        const QByteArray name(key.name);
        out += name + '=' +
               (key.kind == vq::SettingKind::Text   ? vq::toAnsi(QStringLiteral("知识竞赛"))
                : key.kind == vq::SettingKind::Flag ? QByteArray("0")
                                                    : QByteArray("100")) +
               "\r\n";
    }
    return out;
}

// The keys of the section present in a file's bytes (GBK or UTF-8 without mark).
QStringList keysIn(const QByteArray& bytes) {
    QStringList keys;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            keys << QString::fromLatin1(line.left(eq).trimmed());
    }
    return keys;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QString unableToWrite(const QString& path) {
    return QStringLiteral("Unable to write to %1").arg(path);
}

// Writes and expects the refusal; the message when it is not the expected one.
::testing::AssertionResult refused(const QString& path, const QString& key = "biaoti_left",
                                   const QString& value = "88") {
    try {
        IniFile(path).writeString(QStringLiteral("canshu"), key, value);
    } catch (const vq::Exception& e) {
        if (e.message() == unableToWrite(path))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "message: " << e.message().toStdString();
    }
    return ::testing::AssertionFailure() << "the write went through";
}

class SettingsFileSafety : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("opt.ini")); }
    QString read(const QString& key) const {
        return IniFile(path()).readString(QStringLiteral("canshu"), key, key);
    }
    void write(const QString& key, const QString& value) const {
        IniFile(path()).writeString(QStringLiteral("canshu"), key, value);
    }
    void TearDown() override { vq::failNextWriteAt(vq::WriteStep::None, 0); }
};

// ---- refused writes leave the old file byte for byte ------------------------------------------

TEST_F(SettingsFileSafety, FullDiskIsReportedAndTheFileStaysAsItWas) {
    vq::test::SmallDisk disk(64);
    if (!disk.mounted())
        GTEST_SKIP() << "no small disk: " << disk.why().toStdString();
    const QString file = disk.file(QStringLiteral("opt.ini"));
    const QByteArray original = fullSettings();
    writeBytes(file, original);
    ASSERT_TRUE(disk.fill());
    EXPECT_TRUE(refused(file, "biaoti_left", "88"));
    EXPECT_TRUE(refused(file, "biaoti", QString(3000, u'x')));
    EXPECT_EQ(readBytes(file), original);
    EXPECT_EQ(filesIn(disk.folder()), QStringList({"filler", "opt.ini"}));
    // With room again the same write goes through.
    disk.unfill();
    IniFile(file).writeString("canshu", "biaoti_left", "88");
    EXPECT_EQ(IniFile(file).readString("canshu", "biaoti_left", ""), "88");
    EXPECT_EQ(keysIn(readBytes(file)).size(), 23);
}

// A full quota where the system has quotas, a full disk elsewhere.
#ifdef EDQUOT
constexpr int kQuotaFull = EDQUOT;
#else
constexpr int kQuotaFull = ENOSPC;
#endif

TEST_F(SettingsFileSafety, EveryFailingStepIsReportedAndLeavesNoTrace) {
    const QByteArray original = fullSettings();
    const struct {
        vq::WriteStep step;
        int error;
    } cases[] = {
        {vq::WriteStep::Create, kQuotaFull}, {vq::WriteStep::Write, ENOSPC},
        {vq::WriteStep::Write, kQuotaFull},  {vq::WriteStep::Flush, EIO},
        {vq::WriteStep::Flush, ENOSPC},      {vq::WriteStep::Close, EIO},
        {vq::WriteStep::Rename, EROFS},
    };
    for (const auto& c : cases) {
        writeBytes(path(), original);
        vq::failNextWriteAt(c.step, c.error);
        EXPECT_TRUE(refused(path())) << int(c.step) << ' ' << c.error;
        EXPECT_EQ(readBytes(path()), original) << int(c.step);
        EXPECT_EQ(filesIn(dir.path()), QStringList{"opt.ini"}) << int(c.step);
    }
    // The fault was used up: the next write goes through.
    write("biaoti_left", "88");
    EXPECT_EQ(read("biaoti_left"), "88");
}

TEST_F(SettingsFileSafety, RefusedRenameLeavesTheFile) {
    // An immutable file cannot be replaced, not even by the administrator: the new file is
    // written and synced, and then the rename is refused.
    const QByteArray original = fullSettings();
    writeBytes(path(), original);
    if (!vq::test::runProgram("chattr", {"+i", path()}))
        GTEST_SKIP() << "no immutable files here";
    EXPECT_TRUE(refused(path()));
    vq::test::runProgram("chattr", {"-i", path()});
    EXPECT_EQ(readBytes(path()), original);
    EXPECT_EQ(filesIn(dir.path()), QStringList{"opt.ini"});
}

TEST_F(SettingsFileSafety, ReadOnlyFolderIsRefused) {
    const QByteArray original = fullSettings();
    writeBytes(path(), original);
    vq::test::ReadOnlyMount readOnly(dir.path());
    if (!readOnly.mounted())
        GTEST_SKIP() << "cannot mount a read-only folder here";
    EXPECT_TRUE(refused(path()));
    EXPECT_EQ(readBytes(path()), original);
}

// ---- two presenters at once --------------------------------------------------------------------

// Writes the given keys with a rising number for the given milliseconds, as a drag does on every
// mouse move, then prints the last number written.
const bool kHammerRole =
    vq::test::registerChildRole("ini-hammer", [](const QStringList& args) -> int {
        const IniFile ini(args.value(0));
        const QStringList keys = args.mid(2);
        QDeadlineTimer until(args.value(1).toLongLong());
        int i = 0;
        int last = -1;
        while (!until.hasExpired()) {
            ++i;
            try {
                for (const QString& key : keys)
                    ini.writeString("canshu", key, QString::number(i));
                last = i;
            } catch (const vq::Exception& e) {
                fprintf(stderr, "%s\n", qPrintable(e.message()));
                return 2;
            }
        }
        printf("%d\n", last);
        return 0;
    });

TEST_F(SettingsFileSafety, TwoWritersNeverLoseKeysTheyDidNotWrite) {
    ASSERT_TRUE(kHammerRole);
    writeBytes(path(), fullSettings());
    const QString ms = QStringLiteral("10000");
    QProcess title, question;
    title.start(vq::test::childProgram(),
                vq::test::childArguments("ini-hammer", {path(), ms, "biaoti_left", "biaoti_top"}));
    question.start(vq::test::childProgram(),
                   vq::test::childArguments("ini-hammer", {path(), ms, "wenti_left", "wenti_top",
                                                           "daan_left", "daan_top"}));
    ASSERT_TRUE(title.waitForStarted(10000));
    ASSERT_TRUE(question.waitForStarted(10000));
    int reads = 0;
    int broken = 0;
    QByteArray firstBroken;
    const auto running = [](const QProcess& p) { return p.state() != QProcess::NotRunning; };
    QDeadlineTimer bound(60000);
    while ((running(title) || running(question)) && !bound.hasExpired()) {
        // Read as the program reads (a reader that keeps others from replacing the file while
        // it reads, as Windows' default open does, would only slow the writers down).
        QByteArray now;
        const bool readable = vq::readRegularFile(path(), 1 << 20, &now) == vq::ReadResult::Ok;
        ++reads;
        if ((!readable || keysIn(now).size() != 23) && broken++ == 0)
            firstBroken = readable ? now : QByteArrayLiteral("could not be read");
        if (read("shijian_color") != "100" && broken++ == 0)
            firstBroken = "read through IniFile: " + read("shijian_color").toUtf8();
        title.waitForFinished(0);
        question.waitForFinished(0);
    }
    ASSERT_FALSE(running(title) || running(question)) << "the writers did not end";
    EXPECT_EQ(title.exitCode(), 0) << title.readAllStandardError().toStdString();
    EXPECT_EQ(question.exitCode(), 0) << question.readAllStandardError().toStdString();
    EXPECT_EQ(broken, 0) << "of " << reads << " reads; first:\n" << firstBroken.toStdString();
    EXPECT_GT(reads, 100);

    // The final file: every key once, and each writer's keys hold its last value.
    const QByteArray final = readBytes(path());
    QStringList keys = keysIn(final);
    EXPECT_EQ(keys.size(), 23) << final.toStdString();
    keys.removeDuplicates();
    EXPECT_EQ(keys.size(), 23);
    const QString titleLast = QString::fromLatin1(title.readAllStandardOutput()).trimmed();
    const QString questionLast = QString::fromLatin1(question.readAllStandardOutput()).trimmed();
    EXPECT_GT(titleLast.toInt(), 10);
    EXPECT_GT(questionLast.toInt(), 10);
    EXPECT_EQ(read("biaoti_left"), titleLast);
    EXPECT_EQ(read("biaoti_top"), titleLast);
    EXPECT_EQ(read("daan_top"), questionLast);
    EXPECT_EQ(filesIn(dir.path()), QStringList{"opt.ini"});
}

// ---- special files -----------------------------------------------------------------------------

TEST_F(SettingsFileSafety, SpecialFilesReadAsMissingAndAreNeverReplaced) {
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "no FIFOs or devices among the files here";
#else
    QElapsedTimer t;
    t.start();
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0644), 0);
    EXPECT_EQ(read("wenti_width"), "wenti_width");
    EXPECT_TRUE(refused(path()));
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(path()).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO was replaced";
    QFile::remove(path());

    ASSERT_TRUE(QFile::link("/dev/zero", path()));
    EXPECT_EQ(read("wenti_width"), "wenti_width");
    EXPECT_TRUE(refused(path()));
    EXPECT_EQ(QFile::symLinkTarget(path()), "/dev/zero");
    EXPECT_LT(t.elapsed(), 2000);
#endif
}

TEST_F(SettingsFileSafety, HugeFilesAreReadUpToTheLimitAndNeverCutShort) {
    // A 3 GB file (sparse: nothing but its first lines takes room) with the keys at its start.
    writeBytes(path(), fullSettings());
    ASSERT_TRUE(QFile::resize(path(), 3LL << 30));
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(read("wenti_width"), "100");
    EXPECT_EQ(read("no_such_key"), "no_such_key");
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_TRUE(refused(path()));
    EXPECT_EQ(QFileInfo(path()).size(), 3LL << 30);
    // A key past the first megabyte is not seen.
    QByteArray big = "[canshu]\r\n" + QByteArray(IniFile::kMaxFileSize, ';') + "\r\nlate=1\r\n";
    writeBytes(path(), big);
    EXPECT_EQ(read("late"), "late");
}

// ---- owner, mode, leftovers --------------------------------------------------------------------

TEST_F(SettingsFileSafety, AdministratorWritingAUsersFileGivesItBack) {
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "files have no owner and group to give back here";
#else
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root";
    writeBytes(path(), fullSettings());
    const QByteArray native = QFile::encodeName(path());
    ASSERT_EQ(::chown(native.constData(), 12345, 23456), 0);
    ASSERT_EQ(::chmod(native.constData(), 0640), 0);
    write("biaoti_left", "88");
    struct stat st {};
    ASSERT_EQ(::stat(native.constData(), &st), 0);
    EXPECT_EQ(st.st_uid, 12345u);
    EXPECT_EQ(st.st_gid, 23456u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(read("biaoti_left"), "88");
#endif
}

TEST_F(SettingsFileSafety, NewFileGetsTheUsualModeForNewFiles) {
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "files have no mode bits here";
#else
    const mode_t mask = ::umask(022);
    write("biaoti_left", "88");
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
#endif
}

TEST_F(SettingsFileSafety, LinkedFileIsWrittenWhereTheLinkPoints) {
    SKIP_WITHOUT_UNIX_FILE_MODES();
    QDir(dir.path()).mkdir("real");
    const QString real = dir.filePath("real/opt.ini");
    writeBytes(real, fullSettings());
    ASSERT_TRUE(QFile::link(real, path()));
    write("biaoti_left", "88");
    EXPECT_EQ(QFile::symLinkTarget(path()), real);
    EXPECT_EQ(IniFile(real).readString("canshu", "biaoti_left", ""), "88");
}

// Child roles for the leftover test: one that ends at once, one that lives until its input ends.
const bool kEndsAtOnceRegistered = vq::test::registerChildRole(
    QStringLiteral("ends-at-once"), [](const QStringList&) { return 0; });
const bool kWaitsForInputRegistered =
    vq::test::registerChildRole(QStringLiteral("waits-for-input"), [](const QStringList&) {
        while (std::getchar() != EOF) {
        }
        return 0;
    });

TEST_F(SettingsFileSafety, LeftoversOfKilledWritersGoAtTheNextWrite) {
    writeBytes(path(), fullSettings());
    // A finished process's number: its partial file is a leftover.
    QProcess gone;
    gone.start(vq::test::childProgram(), vq::test::childArguments("ends-at-once"));
    ASSERT_TRUE(gone.waitForStarted(10000));
    const qint64 gonePid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished(10000));
    const QString stale = path() + QStringLiteral(".partial-%1.tmp").arg(gonePid);
    writeBytes(stale, "[canshu]\r\nbiaoti_left=");
    // A running process's partial file is a write under way and stays.
    QProcess running;
    running.start(vq::test::childProgram(), vq::test::childArguments("waits-for-input"));
    ASSERT_TRUE(running.waitForStarted(10000));
    const QString live = path() + QStringLiteral(".partial-%1.tmp").arg(running.processId());
    writeBytes(live, "[canshu]\r\n");
    write("biaoti_left", "88");
    running.closeWriteChannel();
    EXPECT_TRUE(running.waitForFinished(10000));
    EXPECT_EQ(filesIn(dir.path()), QStringList({"opt.ini", QFileInfo(live).fileName()}));
    EXPECT_TRUE(vq::partialFileName(path()).startsWith(path() + ".partial-"));
}

// ---- files as other editors save them ----------------------------------------------------------

QByteArray inUtf16(const QString& text, bool littleEndian) {
    QStringEncoder e(littleEndian ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
    return QByteArray(littleEndian ? "\xFF\xFE" : "\xFE\xFF") + QByteArray(e.encode(text));
}

TEST_F(SettingsFileSafety, ByteOrderMarksAndLineEndsAsEditorsWriteThem) {
    const QString text = QStringLiteral("[canshu]\r\nbiaoti=新年晚会\r\nwenti_width=300\r\n");
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF" + text.toUtf8()},
        {"UTF-16 LE", inUtf16(text, true)},
        {"UTF-16 BE", inUtf16(text, false)},
        {"lone CR", vq::toAnsi(QString(text).replace("\r\n", "\r"))},
        {"LF", vq::toAnsi(QString(text).replace("\r\n", "\n"))},
    };
    for (const auto& f : files) {
        writeBytes(path(), f.bytes);
        EXPECT_EQ(read("wenti_width"), "300") << f.name;
        EXPECT_EQ(read("biaoti"), QStringLiteral("新年晚会")) << f.name;
        write("wenti_width", "310");
        write("biaoti_left", "88");
        write("biaoti", QStringLiteral("元旦晚会"));
        EXPECT_EQ(read("wenti_width"), "310") << f.name;
        EXPECT_EQ(read("biaoti_left"), "88") << f.name;
        EXPECT_EQ(read("biaoti"), QStringLiteral("元旦晚会")) << f.name;
        // Same encoding, same mark, same line ends, one section.
        const QByteArray after = readBytes(path());
        QString expected =
            QStringLiteral("[canshu]\r\nbiaoti=元旦晚会\r\nwenti_width=310\r\nbiaoti_left=88\r\n");
        QByteArray want;
        if (f.bytes.startsWith("\xEF\xBB\xBF"))
            want = "\xEF\xBB\xBF" + expected.toUtf8();
        else if (f.bytes.startsWith("\xFF\xFE"))
            want = inUtf16(expected, true);
        else if (f.bytes.startsWith("\xFE\xFF"))
            want = inUtf16(expected, false);
        else
            want = vq::toAnsi(expected.replace("\r\n", f.bytes.contains('\n') ? "\n" : "\r"));
        EXPECT_EQ(after, want) << f.name;
    }
}

TEST_F(SettingsFileSafety, MarkOnlyFileGetsTheSectionInItsEncoding) {
    writeBytes(path(), "\xFF\xFE");
    write("biaoti_left", "88");
    EXPECT_EQ(readBytes(path()), inUtf16("[canshu]\r\nbiaoti_left=88\r\n", true));
    writeBytes(path(), "\xEF\xBB\xBF");
    write("biaoti_left", "88");
    EXPECT_EQ(readBytes(path()), "\xEF\xBB\xBF[canshu]\r\nbiaoti_left=88\r\n");
}

} // namespace
