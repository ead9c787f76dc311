// Reading a regular file up to a limit: the whole file when it fits, its first bytes and the
// news that more follows when it does not, at every length around the read's own steps.
#include "platform/files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray bytesOfLength(qint64 n) {
    QByteArray b(qsizetype(n), '\0');
    for (qsizetype i = 0; i < b.size(); ++i)
        b[i] = char('a' + i % 26);
    return b;
}

TEST(ReadRegularFile, GivesTheFileUpToTheLimitAndTellsWhetherItEnded) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("opt.ini"));
    constexpr qint64 kLimit = 10000;
    for (const qint64 length : {0, 1, 4095, 4096, 4097, 8191, 8192, 9999, 10000, 10001, 30000}) {
        SCOPED_TRACE(length);
        const QByteArray content = bytesOfLength(length);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        QByteArray read("left over");
        bool whole = false;
        ASSERT_EQ(vq::readRegularFile(path, kLimit, &read, &whole), vq::ReadResult::Ok);
        EXPECT_EQ(read, content.left(kLimit));
        EXPECT_EQ(whole, length <= kLimit);
    }
    QByteArray read("left over");
    EXPECT_EQ(vq::readRegularFile(dir.filePath(QStringLiteral("none.ini")), kLimit, &read),
              vq::ReadResult::Missing);
    EXPECT_TRUE(read.isEmpty());
    EXPECT_EQ(vq::readRegularFile(dir.path(), kLimit, &read), vq::ReadResult::NotRegular);
}

} // namespace
