// A bank put in place of another: whichever file operation fails, the old bank stays where it
// was, nothing of the attempt is left behind, and the failure says so.
#include "bankreplacement.h"
#include "support/failing_file_steps.h"
#include "support/file_bytes.h"

#include "platform/exception.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using vq::bank::FileSteps;
using vq::bank::replaceKeepingBackup;
using vq::test::FailingFileSteps;
using vq::test::readBytes;
using vq::test::writeBytes;

QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

struct Replacement : ::testing::Test {
    QTemporaryDir dir;
    QString target = dir.filePath(QStringLiteral("db.DLL"));
    QString backup = target + QStringLiteral(".bak");
    const std::function<void(const QString&)> writeNew = [](const QString& path) {
        writeBytes(path, "new bank");
    };
};

TEST_F(Replacement, ReplacesAndKeepsTheOldBankAsTheBackup) {
    writeBytes(target, "old bank");
    writeBytes(backup, "older bank");
    EXPECT_EQ(replaceKeepingBackup(target, writeNew), backup);
    EXPECT_EQ(readBytes(target), "new bank");
    EXPECT_EQ(readBytes(backup), "old bank");
    EXPECT_EQ(filesIn(dir.path()), (QStringList{"db.DLL", "db.DLL.bak"}));
    // Without a bank there before, there is no backup.
    QFile::remove(target);
    QFile::remove(backup);
    EXPECT_EQ(replaceKeepingBackup(target, writeNew), QString());
    EXPECT_EQ(filesIn(dir.path()), QStringList{"db.DLL"});
}

// Every operation of a replacement over a bank with an earlier backup fails in turn: each time the
// old bank is still the target and no new file is left in the folder.
TEST_F(Replacement, AnyFailingStepLeavesTheOldBankInPlace) {
    int steps = 0;
    {
        writeBytes(target, "old bank");
        writeBytes(backup, "older bank");
        FailingFileSteps none(0);
        replaceKeepingBackup(target, writeNew, none);
        steps = none.count();
    }
    ASSERT_EQ(steps, 3); // the earlier backup removed, the bank moved aside, the new one in place
    for (int failing = 1; failing <= steps; ++failing) {
        SCOPED_TRACE(failing);
        QFile::remove(target);
        QFile::remove(backup);
        writeBytes(target, "old bank");
        writeBytes(backup, "older bank");
        FailingFileSteps one(failing);
        EXPECT_THROW(replaceKeepingBackup(target, writeNew, one), vq::Exception);
        EXPECT_EQ(readBytes(target), "old bank");
        for (const QString& name : filesIn(dir.path()))
            EXPECT_TRUE(name == "db.DLL" || name == "db.DLL.bak") << name.toStdString();
    }
}

// The new bank cannot take the place and the old one cannot be put back either: both are kept,
// and the message names where each one is.
TEST_F(Replacement, WhenNothingCanBePutBackTheMessageSaysWhereBothBanksAre) {
    writeBytes(target, "old bank");
    class NoRenameBack final : public FileSteps {
    public:
        bool rename(const QString& from, const QString& to) override {
            return ++count == 1 && FileSteps::rename(from, to);
        }
        int count = 0;
    } steps;
    try {
        replaceKeepingBackup(target, writeNew, steps);
        FAIL() << "no failure";
    } catch (const vq::Exception& e) {
        EXPECT_TRUE(e.message().contains(backup)) << e.message().toStdString();
        const QStringList files = filesIn(dir.path());
        ASSERT_EQ(files.size(), 2);
        EXPECT_EQ(readBytes(backup), "old bank");
        const QString fresh = dir.filePath(files[0] == "db.DLL.bak" ? files[1] : files[0]);
        EXPECT_TRUE(e.message().contains(fresh)) << e.message().toStdString();
        EXPECT_EQ(readBytes(fresh), "new bank");
    }
}

TEST_F(Replacement, AFailedWriteLeavesNothingBehind) {
    writeBytes(target, "old bank");
    EXPECT_THROW(replaceKeepingBackup(target,
                                      [](const QString& path) {
                                          writeBytes(path, "half");
                                          throw vq::Exception(QStringLiteral("disk full"));
                                      }),
                 vq::Exception);
    EXPECT_EQ(filesIn(dir.path()), QStringList{"db.DLL"});
    EXPECT_EQ(readBytes(target), "old bank");
}

} // namespace
