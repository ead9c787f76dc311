// Work handed to a second thread: it runs beside the caller on a thread Qt started, its result
// or exception comes back once, and nothing outlives the Task that ran it.
#include "platform/task.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace {

using vq::Task;

// A gate the work waits at until the test opens it.
class Gate {
public:
    void open() {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    void pass() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
};

TEST(Task, RunsBesideTheCallerOnAThreadQtStartedAndHandsBackItsValue) {
    Gate gate;
    QThread* ranOn = nullptr;
    QString threadName;
    Task<int> task([&] {
        gate.pass();
        ranOn = QThread::currentThread();
        threadName = ranOn->objectName();
        return 42;
    });
    // The work is held at the gate: the constructor did not wait for it.
    EXPECT_TRUE(task.valid());
    gate.open();
    EXPECT_EQ(task.get(), 42);
    EXPECT_FALSE(task.valid());
    ASSERT_NE(ranOn, nullptr);
    EXPECT_NE(ranOn, QThread::currentThread());
    // Qt's own thread object for the work, not one Qt made up on meeting a foreign thread.
    EXPECT_EQ(threadName, QStringLiteral("vq::Task"));
}

TEST(Task, GivesBackWhatTheWorkThrew) {
    Task<int> task([]() -> int { throw std::runtime_error("unreadable"); });
    EXPECT_THROW(task.get(), std::runtime_error);
}

TEST(Task, GoingOutOfScopeOrBeingReplacedWaitsForTheWork) {
    std::atomic<int> done = 0;
    {
        Gate gate;
        Task<void> task([&] {
            gate.pass();
            ++done;
        });
        gate.open();
    }
    EXPECT_EQ(done, 1);

    Gate gate;
    Task<void> task([&] {
        gate.pass();
        ++done;
    });
    gate.open();
    Gate second;
    task = Task<void>([&] {
        second.pass();
        ++done;
    });
    // The first work is done; the second waits at its gate.
    EXPECT_EQ(done, 2);
    second.open();
    task.wait();
    EXPECT_EQ(done, 3);
}

// What start-up does: short pieces of work that make Qt objects (a buffer, a file) end one after
// another on their threads while the main thread makes and destroys objects of its own. Threads
// Qt adopted this way crashed now and then on Windows when they ended.
TEST(Task, ManyShortTasksMakingQtObjectsEndWhileTheMainThreadWorks) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write("picture");
    file.close();
    const QString path = file.fileName();

    std::vector<Task<qint64>> tasks;
    qint64 read = 0;
    for (int round = 0; round < 100; ++round) {
        tasks.emplace_back([path] {
            QBuffer nothing;
            nothing.open(QIODevice::ReadOnly);
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? qint64(f.readAll().size()) : qint64(-1);
        });
        QTimer timer;
        timer.start(1000);
        QObject parent;
        for (int i = 0; i < 20; ++i)
            new QObject(&parent);
        QCoreApplication::processEvents();
        if (tasks.size() == 4) {
            for (Task<qint64>& t : tasks)
                read += t.get();
            tasks.clear();
        }
    }
    for (Task<qint64>& t : tasks)
        read += t.get();
    EXPECT_EQ(read, 100 * 7);
}

} // namespace
