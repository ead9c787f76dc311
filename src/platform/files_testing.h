#pragma once

// For tests only; the shipped program never includes this header.

#include "platform/files.h"

#include <atomic>
#include <cerrno>
#include <functional>
#include <utility>

namespace vq {

// The steps of a replacing write a test can make fail.
enum class WriteStep { None, Create, Write, Flush, Close, Rename };

// The platform's steps, with one made to fail once as if the platform had reported the error
// number there, and a call at the moment the new file is complete (a test stops a writer there,
// mid-write).
class TestWriteSteps : public ReplacingWriteSteps {
public:
    void failNext(WriteStep step, int errorNumber) {
        m_errorNumber = errorNumber;
        m_failing = step;
    }
    void onClosed(std::function<void()> hook) { m_closed = std::move(hook); }

    NativeFile create(const QString& partial, bool replacing) override {
        return fails(WriteStep::Create) ? -1 : ReplacingWriteSteps::create(partial, replacing);
    }
    bool write(NativeFile file, const QByteArray& bytes) override {
        return !fails(WriteStep::Write) && ReplacingWriteSteps::write(file, bytes);
    }
    bool flush(NativeFile file) override {
        return !fails(WriteStep::Flush) && ReplacingWriteSteps::flush(file);
    }
    bool close(NativeFile file) override {
        return ReplacingWriteSteps::close(file) && !fails(WriteStep::Close);
    }
    void closed() override {
        if (m_closed)
            m_closed();
    }
    bool rename(const QString& partial, const QString& target) override {
        return !fails(WriteStep::Rename) && ReplacingWriteSteps::rename(partial, target);
    }

private:
    bool fails(WriteStep step) {
        WriteStep expected = step;
        if (step == WriteStep::None ||
            !m_failing.compare_exchange_strong(expected, WriteStep::None))
            return false;
        errno = m_errorNumber;
        return true;
    }
    std::atomic<WriteStep> m_failing{WriteStep::None};
    std::atomic<int> m_errorNumber{0};
    std::function<void()> m_closed;
};

// The test steps every writer of the test program takes once a test asked for them.
inline TestWriteSteps& testWriteSteps() {
    static TestWriteSteps steps;
    installReplacingWriteSteps(&steps);
    return steps;
}

// The next replacing write fails at the given step as if the platform had reported the error
// number there; WriteStep::None takes the request back.
inline void failNextWriteAt(WriteStep step, int errorNumber) {
    testWriteSteps().failNext(step, errorNumber);
}

// Runs the hook in every replacing write once its new file is complete, just before it looks
// whether the old one changed meanwhile and takes its place; an empty hook ends that.
inline void onReplacingWriteClosed(std::function<void()> hook) {
    testWriteSteps().onClosed(std::move(hook));
}

} // namespace vq
