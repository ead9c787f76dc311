#include "platform/memory.h"

// Any C library header names the library (__GLIBC__); without one the test below is always
// false and both calls compile to nothing.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
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
