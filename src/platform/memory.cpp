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

#if defined(__linux__)
namespace {
std::size_t wholePages(std::size_t bytes) {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}
} // namespace
#endif

void* allocateLargeBlock(std::size_t bytes) {
    if (bytes == 0)
        return nullptr;
#if defined(__linux__)
    void* block = mmap(nullptr, wholePages(bytes), PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return block == MAP_FAILED ? nullptr : block;
#else
    return std::malloc(bytes);
#endif
}

std::size_t shrinkLargeBlock(void* block, std::size_t bytes, std::size_t keep) {
#if defined(__linux__)
    if (!block || keep == 0 || keep >= bytes)
        return bytes;
    const std::size_t kept = wholePages(keep);
    if (kept < wholePages(bytes))
        munmap(static_cast<char*>(block) + kept, wholePages(bytes) - kept);
    return kept;
#else
    (void)block;
    (void)keep;
    return bytes;
#endif
}

void freeLargeBlock(void* block, std::size_t bytes) {
    if (!block)
        return;
#if defined(__linux__)
    munmap(block, wholePages(bytes));
#else
    (void)bytes;
    std::free(block);
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
