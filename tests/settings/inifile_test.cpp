#include "platform/ansi.h"
#include "platform/exception.h"
#include "settings/inifile.h"
#include "support/child_process.h"
#include "support/skips.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using vq::IniFile;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("opt.ini")); }
    void put(const QByteArray& bytes) const {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray bytes() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString read(const QString& key, const QString& section = QStringLiteral("canshu")) const {
        return IniFile(path()).readString(section, key, key);
    }
    // The key's value, or "def" where the accessor finds none.
    QString readOr(const QString& key) const {
        return IniFile(path()).readString(QStringLiteral("canshu"), key, QStringLiteral("def"));
    }
    void write(const QString& key, const QString& value) const {
        IniFile(path()).writeString(QStringLiteral("canshu"), key, value);
    }
};

TEST_F(IniFileTest, ReadsTrimmedValuesMatchingSectionAndKeyWithoutCase) {
    put("[other]\r\nwenti_width=1\r\n[CanShu]\r\n  WENTI_WIDTH  =  300  \r\nbiaoti='quoted'\r\n"
        "daan_left=\"-5\"\r\nhalf=\"x\r\nempty=\r\n");
    EXPECT_EQ(read("wenti_width"), "300");
    EXPECT_EQ(read("biaoti"), "quoted");
    EXPECT_EQ(read("daan_left"), "-5");
    EXPECT_EQ(read("half"), "\"x"); // an unpaired quote stays
    EXPECT_EQ(read("empty"), "");
    EXPECT_EQ(read("wenti_width", "other"), "1");
}

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsAsDefaultAndCreatesNothing) {
    EXPECT_EQ(read("wenti_width"), "wenti_width");
    EXPECT_FALSE(QFile::exists(path()));
    put("[other]\r\nwenti_width=1\r\n");
    EXPECT_EQ(read("wenti_width"), "wenti_width");
    put("[canshu]\r\ndaan_width=1\r\n");
    EXPECT_EQ(read("wenti_width"), "wenti_width");
}

TEST_F(IniFileTest, LongValuesReadBackAsTheirFirst2047Characters) {
    const QByteArray value(3000, 'a');
    put("[canshu]\r\nbiaoti=" + value + "\r\n");
    EXPECT_EQ(read("biaoti"), QString(2047, u'a'));
    // A double-byte character is never split in two.
    put("[canshu]\r\nbiaoti=" + QByteArray(2046, 'a') + vq::toAnsi(QStringLiteral("题")) + "\r\n");
    EXPECT_EQ(read("biaoti"), QString(2046, u'a'));
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileWithTheSection) {
    write("biaoti_left", "88");
    EXPECT_EQ(bytes(), "[canshu]\r\nbiaoti_left=88\r\n");
}

TEST_F(IniFileTest, WritesReplaceInPlaceAppendKeysAndSectionsAndKeepEverythingElse) {
    const QByteArray original = "; comment line\r\n[before]\r\nx = 1 \r\n\r\n[canshu]\r\n"
                                "Biaoti_Left = 48\r\nunknown=keep me\r\n\r\n[after]\r\ny=2\r\n";
    put(original);
    write("biaoti_left", "88");
    EXPECT_EQ(bytes(), "; comment line\r\n[before]\r\nx = 1 \r\n\r\n[canshu]\r\n"
                       "Biaoti_Left=88\r\nunknown=keep me\r\n\r\n[after]\r\ny=2\r\n");
    write("biaoti_top", "82");
    EXPECT_EQ(bytes(),
              "; comment line\r\n[before]\r\nx = 1 \r\n\r\n[canshu]\r\n"
              "Biaoti_Left=88\r\nunknown=keep me\r\nbiaoti_top=82\r\n\r\n[after]\r\ny=2\r\n");
    put("[other]\r\na=1"); // no final line break
    write("shijian", "10");
    EXPECT_EQ(bytes(), "[other]\r\na=1\r\n[canshu]\r\nshijian=10\r\n");
}

TEST_F(IniFileTest, NegativeColoursAndGbkTitlesRoundTrip) {
    write("shijian_color", "-16777214");
    const QString title = QStringLiteral("新年晚会 知识竞答");
    write("biaoti", title);
    EXPECT_EQ(read("shijian_color"), "-16777214");
    EXPECT_EQ(read("biaoti"), title);
    EXPECT_TRUE(bytes().contains(vq::toAnsi(title)));
    EXPECT_FALSE(bytes().contains(title.toUtf8()));
}

// A value that holds a line break would put a second line into the file: a stray line, or a key
// of its own ("x\nshijian=abc" makes the next start fail on shijian). The value ends at its first
// break instead, which is also all that a read gives back of such a value where the break went
// into the file.
TEST_F(IniFileTest, ValueEndsAtItsFirstLineBreak) {
    const QByteArray title = vq::toAnsi(QStringLiteral("标题"));
    const struct {
        const char* name;
        QString value;
        QByteArray stored;
    } cases[] = {
        {"LF", QStringLiteral("标题\nshijian=abc"), title},
        {"CR LF", QStringLiteral("标题\r\nshijian=abc"), title},
        {"lone CR", QStringLiteral("标题\rshijian=abc"), title},
        {"break first", QStringLiteral("\nshijian=abc"), ""},
        {"several", QStringLiteral("a b\n\nc\rd"), "a b"},
    };
    for (const auto& c : cases) {
        put("[canshu]\r\nbiaoti=old\r\nshijian=30\r\n");
        write("biaoti", c.value);
        EXPECT_EQ(bytes(), "[canshu]\r\nbiaoti=" + c.stored + "\r\nshijian=30\r\n") << c.name;
        EXPECT_EQ(read("shijian"), "30") << c.name;
    }
    // A key added at the end of its section, and one in a new file, end there just the same.
    put("[canshu]\r\nshijian=30\r\n[other]\r\nx=1\r\n");
    write("biaoti", QStringLiteral("标题\r\nshijian=abc"));
    EXPECT_EQ(bytes(), "[canshu]\r\nshijian=30\r\nbiaoti=" + title + "\r\n[other]\r\nx=1\r\n");
    QFile::remove(path());
    write("biaoti", QStringLiteral("a\nb"));
    EXPECT_EQ(bytes(), "[canshu]\r\nbiaoti=a\r\n");
}

// In a UTF-16 file a break is two bytes; it is cut all the same, and the file stays UTF-16.
TEST_F(IniFileTest, ValueEndsAtItsFirstLineBreakInAUtf16File) {
    const auto utf16 = [](const QString& text) {
        QStringEncoder e(QStringEncoder::Utf16LE);
        return QByteArray("\xFF\xFE") + QByteArray(e.encode(text));
    };
    put(utf16(QStringLiteral("[canshu]\r\nbiaoti=old\r\nshijian=30\r\n")));
    write("biaoti", QStringLiteral("标题\nshijian=abc"));
    EXPECT_EQ(bytes(), utf16(QStringLiteral("[canshu]\r\nbiaoti=标题\r\nshijian=30\r\n")));
}

// The platform reads a line beginning with ";" as a key like any other: ";a=1" is the key ";a"
// (and no key "a"). A line "=5" is the key with the empty name. Writes find the same lines.
TEST_F(IniFileTest, SemicolonAndEmptyKeysAreKeysLikeAnyOther) {
    put("[canshu]\r\n;a=1\r\n=5\r\n");
    EXPECT_EQ(readOr(";a"), "1");
    EXPECT_EQ(readOr("a"), "def");
    EXPECT_EQ(readOr(""), "5");
    put("[canshu]\r\n ; a = 1 \r\n");
    EXPECT_EQ(readOr("; a"), "1");
    EXPECT_EQ(readOr(";a"), "def");
    put("[canshu]\r\nb=2\r\n");
    EXPECT_EQ(readOr(""), "def");

    put("[canshu]\r\n;a=1\r\n=5\r\nb=2\r\n");
    write(";a", "7");
    write("", "8");
    EXPECT_EQ(bytes(), "[canshu]\r\n;a=7\r\n=8\r\nb=2\r\n");
    write("a", "9");
    EXPECT_EQ(bytes(), "[canshu]\r\n;a=7\r\n=8\r\nb=2\r\na=9\r\n");
    put("[canshu]\r\nb=2\r\n");
    write(";a", "7");
    write("", "8");
    EXPECT_EQ(bytes(), "[canshu]\r\nb=2\r\n;a=7\r\n=8\r\n");
    EXPECT_EQ(readOr(";a"), "7");
    EXPECT_EQ(readOr(""), "8");
}

TEST_F(IniFileTest, LineWithoutEqualsIsAKeyWithoutAValue) {
    // It hides a later line of the same key, and a write gives it its value in place.
    put("[canshu]\r\n keyonly \r\nkeyonly=1\r\n\r\nb=2\r\n");
    EXPECT_EQ(readOr("keyonly"), "def");
    EXPECT_EQ(readOr("b"), "2");
    write("keyonly", "3");
    EXPECT_EQ(bytes(), "[canshu]\r\nkeyonly=3\r\nkeyonly=1\r\n\r\nb=2\r\n");
    EXPECT_EQ(readOr("keyonly"), "3");
    // Blank lines name no key, not even the empty one.
    put("[canshu]\r\n\r\n  \r\nb=2\r\n");
    EXPECT_EQ(readOr(""), "def");
}

TEST_F(IniFileTest, ReadOnlyFileIsRefusedAndLeftByteIdentical) {
    const QByteArray original = "[canshu]\r\nbiaoti_left=48\r\n";
    put(original);
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    try {
        write("biaoti_left", "88");
        FAIL() << "write went through";
    } catch (const vq::Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unable to write to %1").arg(path()));
    }
    EXPECT_EQ(bytes(), original);
    const auto modeBits = [](QFile::Permissions p) { return p & QFile::Permissions(0x7077); };
    EXPECT_EQ(modeBits(QFile::permissions(path())),
              QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
}

// A key written with the value it already has (the start-up's own flag, each start) leaves the
// file as it is: not even its time changes. Any other value is written.
TEST_F(IniFileTest, WritingTheValueAKeyHasLeavesTheFileAlone) {
    const QByteArray original = "[canshu]\r\nWeiZhiSheZhi=0\r\nbiaoti_left=48\r\n";
    put(original);
    const QDateTime past = QDateTime::currentDateTime().addDays(-3);
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(past, QFileDevice::FileModificationTime));
    }
    write("weizhishezhi", "0");
    EXPECT_EQ(bytes(), original);
    EXPECT_EQ(QFileInfo(path()).lastModified().toSecsSinceEpoch(), past.toSecsSinceEpoch());
    write("weizhishezhi", "1");
    EXPECT_EQ(bytes(), "[canshu]\r\nWeiZhiSheZhi=1\r\nbiaoti_left=48\r\n");
    EXPECT_GT(QFileInfo(path()).lastModified(), past.addDays(1));
}

TEST_F(IniFileTest, FolderWithoutWritePermissionIsRefused) {
    SKIP_WITHOUT_UNIX_FILE_MODES();
    QDir(dir.path()).mkdir("locked");
    const QString locked = dir.filePath("locked");
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    const QString file = locked + "/opt.ini";
    EXPECT_THROW(IniFile(file).writeString("canshu", "a", "1"), vq::Exception);
    EXPECT_FALSE(QFile::exists(file));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(IniFileTest, WriteKeepsTheFilePermissions) {
    SKIP_WITHOUT_UNIX_FILE_MODES();
    put("[canshu]\r\na=1\r\n");
    const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QFile::setPermissions(path(), perms);
    write("a", "2");
    EXPECT_EQ(QFile::permissions(path()) & QFile::Permissions(0x7077), perms);
}

// A child that rewrites one key as fast as it can, forever; the parent kills it part-way.
const bool kWriterRole =
    vq::test::registerChildRole("ini-writer", [](const QStringList& args) -> int {
        const IniFile ini(args.value(0));
        const QString filler(400, u'x');
        for (int i = 0;; ++i)
            ini.writeString("canshu", QStringLiteral("k%1").arg(i % 40),
                            filler + QString::number(i));
    });

TEST_F(IniFileTest, KilledWriterLeavesTheOldOrTheNewFileNeverABrokenOne) {
    ASSERT_TRUE(kWriterRole);
    // Every valid state holds the marker line first and ends in a complete line.
    put("[canshu]\r\nmarker=1\r\n");
    for (int round = 0; round < 20; ++round) {
        QProcess child;
        child.start(vq::test::childProgram(), vq::test::childArguments("ini-writer", {path()}));
        ASSERT_TRUE(child.waitForStarted(10000));
        // Let it get some writes done, then kill it mid-stream.
        const QByteArray before = bytes();
        QElapsedTimer t;
        t.start();
        while (bytes() == before && t.elapsed() < 10000) {
        }
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        const QByteArray after = bytes();
        ASSERT_TRUE(after.startsWith("[canshu]\r\nmarker=1\r\n")) << round;
        ASSERT_TRUE(after.endsWith("\r\n")) << round;
        EXPECT_EQ(read("marker"), "1");
        const auto lines = after.count('\n');
        EXPECT_GE(lines, 3);
        EXPECT_LE(lines, 42);
    }
    // Whatever the kills left beside the file goes with the next write.
    write("marker", "1");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("opt.ini")});
}

} // namespace
