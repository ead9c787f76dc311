// Pages faulted in ahead of the first writes: writing the memory afterwards takes no faults,
// and what the memory held stays as it was.
#include "platform/memory.h"
#include "support/faults.h"

#include <gtest/gtest.h>

#if defined(__linux__)
#include <sys/mman.h>

#include <cstring>

namespace {

using vq::test::minorFaults;

// Writes every byte of the region and counts the faults the writes took.
long faultsWriting(unsigned char* data, size_t bytes) {
    const long before = minorFaults();
    std::memset(data, 0x5a, bytes);
    return minorFaults() - before;
}

} // namespace

TEST(PopulatePages, FirstWritesTakeNoFaultsAndTheContentStays) {
    constexpr size_t kBytes = 8 * 1024 * 1024; // a 1920 x 1080 window's 32-bit pixels
    for (int flags : {MAP_PRIVATE | MAP_ANONYMOUS, MAP_SHARED | MAP_ANONYMOUS}) {
        SCOPED_TRACE(flags & MAP_SHARED ? "shared memory" : "private memory");
        auto* fresh = static_cast<unsigned char*>(
            mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, flags, -1, 0));
        ASSERT_NE(fresh, MAP_FAILED);
        // Without: a fault a page.
        EXPECT_GT(faultsWriting(fresh, kBytes), long(kBytes / 4096 / 2));
        munmap(fresh, kBytes);

        auto* data = static_cast<unsigned char*>(
            mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, flags, -1, 0));
        ASSERT_NE(data, MAP_FAILED);
        data[kBytes / 2] = 7;
        // From an address inside a page to one inside another, as an image's pixels lie.
        vq::populatePages(data + 100, kBytes - 200);
        EXPECT_EQ(data[kBytes / 2], 7);
        EXPECT_EQ(data[12345], 0);
        // A few faults for what else the writes touch (a sanitizer's own bookkeeping).
        EXPECT_LT(faultsWriting(data, kBytes), long(kBytes / 4096 / 8));
        munmap(data, kBytes);
    }
}

TEST(PopulatePages, StopsQuietlyAtMemoryThatIsNotMapped) {
    constexpr size_t kBytes = 1024 * 1024;
    auto* data = static_cast<unsigned char*>(
        mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(data, MAP_FAILED);
    munmap(data + kBytes / 2, kBytes / 2);
    vq::populatePages(data, kBytes);
    EXPECT_LT(faultsWriting(data, kBytes / 2), long(kBytes / 2 / 4096 / 4));
    munmap(data, kBytes / 2);
}

#endif
