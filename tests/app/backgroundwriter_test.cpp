// The show's file kept beside it: the show never waits for the disk, the file always ends with
// the latest content, and removals and failures keep their order.
#include "app/backgroundwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace vq::test {
namespace {

// A disk that takes each write only when the test lets it.
class HeldDisk {
public:
    bool replace(const QString&, const QByteArray& bytes) {
        std::unique_lock lock(m_mutex);
        m_started.push_back(bytes);
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_released > m_written.size(); });
        m_written.push_back(bytes);
        return !bytes.startsWith("refused");
    }
    // Returns once `n` writes have begun.
    void waitForStarted(size_t n) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_started.size() >= n; });
    }
    void release(size_t writes) {
        const std::lock_guard lock(m_mutex);
        m_released += writes;
        m_changed.notify_all();
    }
    std::vector<QByteArray> written() {
        const std::lock_guard lock(m_mutex);
        return m_written;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<QByteArray> m_started;
    std::vector<QByteArray> m_written;
    size_t m_released = 0;
};

struct Done {
    quint64 upTo;
    bool ok;
    friend bool operator==(const Done&, const Done&) = default;
};

class BackgroundWriterTest : public ::testing::Test {
protected:
    // The writer's reports as the main thread receives them.
    void listen(BackgroundWriter& writer) {
        QObject::connect(&writer, &BackgroundWriter::done, &receiver,
                         [this](quint64 upTo, bool ok) {
                             reports.push_back({upTo, ok});
                         });
    }
    void settle(BackgroundWriter& writer) {
        writer.flush();
        QCoreApplication::sendPostedEvents(&receiver, QEvent::MetaCall);
    }
    QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QObject receiver;
    std::vector<Done> reports;
    QTemporaryDir dir;
};

TEST_F(BackgroundWriterTest, WritesAskedForWhileTheDiskIsBusyGiveWayToTheLatest) {
    HeldDisk disk;
    BackgroundWriter writer(dir.filePath("state.ini"), [&](const QString& p, const QByteArray& b) {
        return disk.replace(p, b);
    });
    listen(writer);
    // The first write is on the disk; the caller goes on at once with three more.
    EXPECT_EQ(writer.write("one"), 1u);
    disk.waitForStarted(1);
    EXPECT_EQ(writer.write("two"), 2u);
    EXPECT_EQ(writer.write("three"), 3u);
    EXPECT_EQ(writer.write("four"), 4u);
    disk.release(2);
    settle(writer);
    EXPECT_EQ(disk.written(), (std::vector<QByteArray>{"one", "four"}));
    EXPECT_EQ(reports, (std::vector<Done>{{1, true}, {4, true}}));
}

TEST_F(BackgroundWriterTest, ARefusedWriteIsReportedWithItsNumberAndTheNextGoesOn) {
    HeldDisk disk;
    disk.release(3);
    BackgroundWriter writer(dir.filePath("state.ini"), [&](const QString& p, const QByteArray& b) {
        return disk.replace(p, b);
    });
    listen(writer);
    writer.write("first");
    settle(writer);
    writer.write("refused: the disk is full");
    settle(writer);
    writer.write("room again");
    settle(writer);
    EXPECT_EQ(reports, (std::vector<Done>{{1, true}, {2, false}, {3, true}}));
}

TEST_F(BackgroundWriterTest, RemovalsAndWritesReachTheFileInTheirOrder) {
    const QString path = dir.filePath("上一场.ini");
    BackgroundWriter writer(path);
    listen(writer);
    writer.write("a show");
    writer.remove();
    settle(writer);
    EXPECT_FALSE(QFile::exists(path));
    writer.write("the next show");
    settle(writer);
    EXPECT_EQ(read(path), QByteArray("the next show"));
    writer.remove();
    writer.remove(); // nothing left to remove is no failure
    settle(writer);
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), (Done{5, true}));
    for (const Done& d : reports)
        EXPECT_TRUE(d.ok) << d.upTo;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST_F(BackgroundWriterTest, TheEndWaitsForWhatWasAskedFor) {
    const QString path = dir.filePath("state.ini");
    {
        // The default disk: replaceFileContents and QFile::remove.
        BackgroundWriter writer(path);
        writer.write("early");
        writer.remove();
        writer.write("last");
    }
    EXPECT_EQ(read(path), QByteArray("last"));
}

} // namespace
} // namespace vq::test
