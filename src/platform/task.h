#pragma once

#include <QThread>

#include <future>
#include <memory>
#include <type_traits>
#include <utility>

namespace vq {

// Work done on a second thread while the caller goes on, for work that makes Qt objects (a
// file, a buffer, an image reader, a bus connection). The thread is a QThread made for the
// work. A thread Qt has not started itself is "adopted" the first time a Qt object is made on
// it, and on Windows Qt then watches the thread's end from a thread of its own and tidies up
// after it there, whenever that watcher gets to it. A Task's thread is Qt's from the start:
// nothing is adopted, and the thread has ended, tidied up, when the Task is done.
//
// The value (or the exception the work threw) comes back through get(); going out of scope
// waits for the work.
template <typename T> class Task {
public:
    Task() = default;
    template <typename Work, typename = std::enable_if_t<!std::is_same_v<std::decay_t<Work>, Task>>>
    explicit Task(Work&& work) {
        std::packaged_task<T()> task(std::forward<Work>(work));
        m_result = task.get_future();
        m_thread.reset(QThread::create(std::move(task)));
        m_thread->setObjectName(QStringLiteral("vq::Task"));
        m_thread->start();
    }
    ~Task() { join(); }
    Task(Task&& other) noexcept = default;
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            join();
            m_thread = std::move(other.m_thread);
            m_result = std::move(other.m_result);
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;

    // Whether there is work whose result has not been taken.
    bool valid() const { return m_result.valid(); }
    // Until the work is done.
    void wait() const {
        if (m_result.valid())
            m_result.wait();
    }
    // The work's result, once; rethrows what the work threw.
    T get() {
        join();
        return m_result.get();
    }

private:
    // The thread has ended, not only the work, before its object goes.
    void join() {
        if (m_thread) {
            m_thread->wait();
            m_thread.reset();
        }
    }

    std::unique_ptr<QThread> m_thread;
    std::future<T> m_result;
};

} // namespace vq
