#include "platform/memory.h"

// Any C library header names the library (__GLIBC__); without one the test below is always
// false and both calls compile to nothing.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#endif

namespace vq {

void returnFreedMemory() {
#if defined(__GLIBC__)
    // glibc keeps freed blocks of the main heap, and big blocks once the first of their size
    // was freed, for reuse; the program's big allocations happen once, so give them back.
    malloc_trim(0);
#endif
}

void keepLargeBlocksApart() {
#if defined(__GLIBC__)
    // glibc's default limit; setting it keeps it from moving.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

void populatePages(const void* data, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    std::uintptr_t at = reinterpret_cast<std::uintptr_t>(data) & ~(page - 1);
    const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(data) + bytes;
    // A stretch at a time: the call holds the process's memory map for its length, and the
    // main thread's own allocations wait for it meanwhile.
    constexpr std::uintptr_t kStretch = 128 * 1024;
    while (at < end) {
        const std::uintptr_t n = std::min(kStretch, end - at);
        if (madvise(reinterpret_cast<void*>(at), n, MADV_POPULATE_WRITE) != 0)
            return;
        at += n;
    }
#else
    (void)data;
    (void)bytes;
#endif
}

void reuseFreedMemory() {
#if defined(__GLIBC__)
    // Blocks up to glibc's largest limit come from the heap, and the heap is not trimmed, so a
    // buffer freed is reused by the next one of its kind instead of fresh pages from the
    // system, each zeroed by the kernel on its first touch. The top grows in large steps.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    mallopt(M_TOP_PAD, 64 * 1024 * 1024);
#endif
}

} // namespace vq
