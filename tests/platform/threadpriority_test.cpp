// A start-up helper lowers its own priority and no other thread's.
#include "platform/threadpriority.h"

#include <gtest/gtest.h>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>

#include <thread>

namespace {

int niceOf(pid_t thread) {
    return getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
}

TEST(ThreadPriority, LowersTheCallingThreadOnly) {
    const int mine = niceOf(gettid());
    int helper = 0;
    int helperBefore = 0;
    std::thread([&] {
        helperBefore = niceOf(gettid());
        vq::lowerThreadPriority();
        helper = niceOf(gettid());
    }).join();
    EXPECT_EQ(helperBefore, mine);
    EXPECT_EQ(helper, 19);
    EXPECT_EQ(niceOf(gettid()), mine);
}

} // namespace
#endif
