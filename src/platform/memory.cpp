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

} // namespace vq
