#pragma once

#include "bankreplacement.h"

namespace vq::test {

// A bank replacement's file operations as they really are, except the one numbered `failing`
// (counted from 1 over every remove and rename), which is refused.
class FailingFileSteps final : public vq::bank::FileSteps {
public:
    explicit FailingFileSteps(int failing) : m_failing(failing) {}
    bool remove(const QString& path) override {
        return ++m_count != m_failing && FileSteps::remove(path);
    }
    bool rename(const QString& from, const QString& to) override {
        return ++m_count != m_failing && FileSteps::rename(from, to);
    }
    int count() const { return m_count; }

private:
    int m_failing;
    int m_count = 0;
};

} // namespace vq::test
