// The show's start and its writes against what installations meet in the field: a full disk,
// special files where pictures and settings belong, settings files as other editors save them.
#include "presenter_fixture.h"

#include "app/timage.h"
#include "controls/memo.h"
#include "platform/ansi.h"
#include "platform/folders.h"
#include "support/child_process.h"
#include "support/small_disk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace vq::test {
namespace {

// Bytes this process has read through read() and its kin so far; -1 where the kernel does not say.
qint64 bytesReadSoFar() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

// ---- a start in a process of its own, so that a hang shows as one -----------------------------

// Starts the presenter on the installation folder given (program and current folder), lets the
// set-up run and prints what the operator saw: one "error<TAB>text" line per error box, then the
// state of the pool, the next-step picture and the welcome screen, and how many bytes the process
// read from files.
const bool kStartRole = registerWidgetChildRole("presenter-start", [](const QStringList& args) {
    useProgramFolder(args.value(0));
    QDir::setCurrent(args.value(0));
    RecordingMessages msgs;
    RecordingSounds sounds;
    TForm1 form;
    TDataModule2 module;
    TForm3 form3(&form);
    TForm5 form5;
    form.DataModule2 = &module;
    form.Form3 = &form3;
    form.Form5 = &form5;
    msgs.clear();
    form.show();
    QCoreApplication::processEvents();
    for (const QString& e : msgs.errors())
        printf("error\t%s\n", e.toUtf8().constData());
    printf("pool\t%d\n", int(form.Memo1->toPlainText().split(u'\n', Qt::SkipEmptyParts).size()));
    printf("next\t%d\n", form.Image3->hasPicture() ? 1 : 0);
    printf("welcome\t%d\n", form5.isVisible() ? 1 : 0);
    printf("read\t%lld\n", bytesReadSoFar());
    fflush(stdout);
    return 0;
});

struct StartResult {
    bool ended = false;
    qint64 ms = 0;
    QStringList errors;
    int pool = -1;
    bool next = false;
    bool welcome = false;
    qint64 bytesRead = -1;
};

class FieldStart : public Presenter {
protected:
    // Runs a start in a child process; gives up on it after a generous bound, so that a hang
    // fails the test instead of stopping the test run.
    StartResult runStart() {
        EXPECT_TRUE(kStartRole);
        StartResult r;
        QProcess child;
        QElapsedTimer t;
        t.start();
        child.start(childProgram(), childArguments("presenter-start", {inst.folder()}));
        if (!child.waitForFinished(30000)) {
            child.kill();
            child.waitForFinished(5000);
            r.ms = t.elapsed();
            return r;
        }
        r.ms = t.elapsed();
        r.ended = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
        // A Windows child's standard output ends its lines with CR LF.
        const QString out = QString::fromUtf8(child.readAllStandardOutput()).remove(u'\r');
        for (const QString& line : out.split(u'\n')) {
            const QString key = line.section(u'\t', 0, 0);
            const QString value = line.section(u'\t', 1);
            if (key == u"error")
                r.errors << value;
            else if (key == u"pool")
                r.pool = value.toInt();
            else if (key == u"next")
                r.next = value == u"1";
            else if (key == u"welcome")
                r.welcome = value == u"1";
            else if (key == u"read")
                r.bytesRead = value.toLongLong();
        }
        return r;
    }
#ifdef Q_OS_UNIX
    void makeFifo(const QString& name) {
        QFile::remove(inst.file(name));
        ASSERT_EQ(::mkfifo(QFile::encodeName(inst.file(name)).constData(), 0644), 0);
    }
#endif
    QString cannotOpen(const QString& name) const {
        return QStringLiteral("Cannot open file \"%1\". 不是普通文件.").arg(inst.file(name));
    }
};

// Within 5 s, from the process's start to its end, as the operator would wait for it.
constexpr qint64 kStartBoundMs = 5000;

TEST_F(FieldStart, FifoAsBackgroundFailsAtOnceWithItsBox) {
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "no FIFOs or devices among the files here";
#else
    installFiles();
    makeFifo("bg.jpg");
    const StartResult r = runStart();
    ASSERT_TRUE(r.ended) << "the start hung (" << r.ms << " ms)";
    EXPECT_LT(r.ms, kStartBoundMs);
    EXPECT_EQ(r.errors, QStringList{cannotOpen("bg.jpg")});
    EXPECT_EQ(r.pool, 1) << "set-up ends at the background: the pool keeps its designed line";
#endif
}

TEST_F(FieldStart, FifosAsNextStepAndWelcomePicturesFailAtOnceWithTheirBoxes) {
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "no FIFOs or devices among the files here";
#else
    installFiles(settingsWith({"huanying=1"}));
    makeFifo("next.png");
    makeFifo("welcome.jpg");
    const StartResult r = runStart();
    ASSERT_TRUE(r.ended) << "the start hung (" << r.ms << " ms)";
    EXPECT_LT(r.ms, kStartBoundMs);
    EXPECT_EQ(r.errors, QStringList({cannotOpen("welcome.jpg"), cannotOpen("next.png")}));
    EXPECT_EQ(r.pool, 5) << "set-up went on after the welcome screen";
    EXPECT_FALSE(r.next);
    EXPECT_TRUE(r.welcome) << "the welcome screen is shown without a picture";
#endif
}

TEST_F(FieldStart, SettingsFileThatIsNoFileReadsAsMissing) {
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "no FIFOs or devices among the files here";
#else
    installFiles();
    const QString missing = QStringLiteral("'wenti_width' is not a valid integer value.");
    makeFifo("opt.ini");
    StartResult r = runStart();
    ASSERT_TRUE(r.ended) << "the start hung on a FIFO (" << r.ms << " ms)";
    EXPECT_LT(r.ms, kStartBoundMs);
    EXPECT_EQ(r.errors, QStringList{missing});
    QFile::remove(inst.file("opt.ini"));
    ASSERT_TRUE(QFile::link("/dev/zero", inst.file("opt.ini")));
    r = runStart();
    ASSERT_TRUE(r.ended) << "the start hung on /dev/zero (" << r.ms << " ms)";
    EXPECT_LT(r.ms, kStartBoundMs);
    EXPECT_EQ(r.errors, QStringList{missing});
    EXPECT_EQ(QFile::symLinkTarget(inst.file("opt.ini")), "/dev/zero");
#endif
}

TEST_F(FieldStart, HugeSettingsFileIsReadOnlyAsFarAsNeeded) {
    installFiles();
    // 3 GB (sparse) after the keys.
    ASSERT_TRUE(QFile::resize(inst.file("opt.ini"), 3LL << 30));
    const StartResult r = runStart();
    ASSERT_TRUE(r.ended) << "the start hung (" << r.ms << " ms)";
    // The keys are read; the one write of the set-up is refused rather than cutting the file.
    EXPECT_EQ(r.errors,
              QStringList{QStringLiteral("Unable to write to %1.").arg(inst.file("opt.ini"))});
    EXPECT_EQ(QFileInfo(inst.file("opt.ini")).size(), 3LL << 30);
    // Measured in bytes rather than time: a slow machine must not fail it, a read of the whole
    // file must. Everything the start reads (libraries' files, fonts, pictures, the bank, the
    // settings) is far below 256 MB.
#ifdef Q_OS_WIN
    GTEST_SKIP() << "no count of a process's bytes read under wine; the start ended in " << r.ms
                 << " ms";
#endif
    ASSERT_GE(r.bytesRead, 0) << "the kernel does not count the bytes read";
    EXPECT_LT(r.bytesRead, 256LL << 20);
}

// ---- writes from the screen --------------------------------------------------------------------

// Drags with the mouse through the main screen's window, as the desktop delivers it.
class ScreenWrites : public Presenter {
protected:
    // Drags the title label by the offset, in two moves, and releases it.
    void dragTitle(QPoint by) {
        const QPoint grab = at(form->Label2, {10, 10});
        press(window(), grab);
        moveTo(window(), grab + by / 2);
        moveTo(window(), grab + by);
        release(window(), grab + by);
    }
    QString unableToWrite(const QString& file) const {
        return QStringLiteral("Unable to write to %1.").arg(file);
    }
};

// The settings file and the background on a small disk of their own (the program folder); the
// bank and the next-step picture stay in the current folder.
class FullDisk : public ScreenWrites {
protected:
    SmallDisk disk{256};
    QByteArray original;
    void SetUp() override {
        if (!disk.mounted())
            GTEST_SKIP() << "no small disk: " << disk.why().toStdString();
    }
    void installOnDisk(const QStringList& settings) {
        installFiles(settings);
        for (const char* name : {"opt.ini", "bg.jpg"})
            ASSERT_TRUE(QFile::copy(inst.file(name), disk.file(name)));
        useProgramFolder(disk.folder());
        original = readDisk();
    }
    QByteArray readDisk() const {
        QFile f(disk.file("opt.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(FullDisk, SetUpReportsItsWriteAndLeavesTheFile) {
    installOnDisk(settingsWith({"weizhishezhi=1"}));
    ASSERT_TRUE(disk.fill());
    start();
    EXPECT_EQ(msgs.errors(), QStringList{unableToWrite(disk.file("opt.ini"))});
    EXPECT_EQ(readDisk(), original);
    EXPECT_EQ(form->Memo1->toPlainText(), QString()) << "set-up ends at the refused write";
    EXPECT_EQ(QDir(disk.folder()).entryList(QDir::Files),
              QStringList({"bg.jpg", "filler", "opt.ini"}));
}

TEST_F(FullDisk, DragReportsEveryMoveAndLeavesTheFileThenWritesOnceThereIsRoom) {
    installOnDisk(TempInstall::defaultSettings());
    start();
    ASSERT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
    original = readDisk();
    ASSERT_TRUE(disk.fill());
    dragTitle({40, 10});
    EXPECT_EQ(form->Label2->pos(), QPoint(88, 82)) << "the label moves all the same";
    // One box for each move over the label.
    ASSERT_GE(msgs.errors().size(), 2);
    EXPECT_EQ(msgs.errors(),
              QStringList(msgs.errors().size(), unableToWrite(disk.file("opt.ini"))));
    EXPECT_EQ(readDisk(), original);
    disk.unfill();
    msgs.clear();
    moveTo(window(), at(form->Label2, {12, 12}));
    EXPECT_TRUE(msgs.errors().isEmpty());
    EXPECT_EQ(Settings(disk.file("opt.ini")).text(Key::biaoti_left), "88");
    EXPECT_EQ(Settings(disk.file("opt.ini")).text(Key::wenti_width), "600");
}

// ---- settings files as other editors save them -------------------------------------------------

TEST_F(ScreenWrites, EditorsEncodingsAndLineEndsSurviveAStartADragAndTheNextStart) {
    const QString text = u"[canshu]\r\n"_qs + TempInstall::defaultSettings().join("\r\n") + "\r\n";
    const auto utf16 = [&](bool le) {
        QStringEncoder e(le ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
        return QByteArray(le ? "\xFF\xFE" : "\xFE\xFF") + QByteArray(e.encode(text));
    };
    const struct {
        const char* name;
        QByteArray bytes;
        QByteArray start; // what the file still begins with after the writes
    } files[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF" + text.toUtf8(), "\xEF\xBB\xBF[canshu]\r\n"},
        {"UTF-16 LE", utf16(true), "\xFF\xFE[\0c\0"},
        {"UTF-16 BE", utf16(false), "\xFE\xFF\0[\0c"},
        {"lone CR", toAnsi(QString(text).replace("\r\n", "\r")), "[canshu]\rbiaoti="},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        installFiles();
        inst.writeFile("opt.ini", f.bytes);
        restart();
        ASSERT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        EXPECT_EQ(form->Label2->text(), QStringLiteral("答题活动标题"));
        EXPECT_EQ(form->Memo1->toPlainText().split(u'\n', Qt::SkipEmptyParts).size(), 5);
        dragTitle({40, 10});
        EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        EXPECT_EQ(setting("biaoti_left"), "88");
        EXPECT_EQ(setting("biaoti_top"), "82");
        const QByteArray after = inst.readFile("opt.ini");
        EXPECT_TRUE(after.startsWith(f.start)) << after.left(24).toHex().toStdString();
        EXPECT_EQ(after.size(), f.bytes.size()) << "same keys, same encoding, one section";
        restart();
        EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        EXPECT_EQ(form->Label2->pos(), QPoint(88, 82));
        EXPECT_EQ(form->Label2->text(), QStringLiteral("答题活动标题"));
    }
}

} // namespace
} // namespace vq::test
