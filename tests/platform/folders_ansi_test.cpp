#include "platform/ansi.h"
#include "platform/counters.h"
#include "platform/folders.h"
#include "support/skips.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ProgramFolder, IsTheExecutablesFolderEndingInASeparatorUnlessOverridden) {
    const QString folder = vq::programFolder();
    EXPECT_TRUE(folder.endsWith(u'/'));
    EXPECT_EQ(QFileInfo(folder).canonicalFilePath(),
              QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath());
    vq::useProgramFolder(QStringLiteral("/tmp/install"));
    EXPECT_EQ(vq::programFolder(), QStringLiteral("/tmp/install/"));
    vq::useProgramFolder(QString());
    EXPECT_EQ(vq::programFolder(), folder);
}

TEST(CurrentFolder, BareNamesExpandAgainstIt) {
    QTemporaryDir dir;
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(vq::expandName(QStringLiteral("next.png")),
              QDir(QDir::currentPath()).filePath(QStringLiteral("next.png")));
    EXPECT_EQ(vq::currentFolder(), QDir::currentPath() + u'/');
    QDir::setCurrent(old);
}

TEST(WriteRefused, FollowsThePermissionBitsEvenForTheAdministrator) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("opt.ini"));
    EXPECT_FALSE(vq::writeRefused(file)); // creatable
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(vq::writeRefused(file));
    QFile::setPermissions(file, QFile::ReadOwner);
    EXPECT_TRUE(vq::writeRefused(file));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    SKIP_WITHOUT_UNIX_FILE_MODES();
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(vq::writeRefused(dir.filePath(QStringLiteral("new.ini"))));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(AnsiCodePage, IsGbkBothWays) {
    const QString text = QStringLiteral("题目 abc");
    const QByteArray bytes = vq::toAnsi(text);
    EXPECT_EQ(bytes, QByteArray("\xCC\xE2\xC4\xBF abc"));
    EXPECT_EQ(vq::fromAnsi(bytes), text);
}

TEST(Counters, MoveForward) {
    const auto a = vq::performanceCounter();
    ASSERT_TRUE(a.has_value());
    std::uint64_t b = *a;
    for (int i = 0; i < 1000000 && b == *a; ++i)
        b = *vq::performanceCounter();
    EXPECT_GT(b, *a);
    EXPECT_NE(vq::tickCount(), 0u);
}
