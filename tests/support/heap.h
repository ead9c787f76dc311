#pragma once

#include <QtGlobal>

#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vq::test {

// Whether heapHeld() counts anything on this C library.
#if defined(__GLIBC__)
inline constexpr bool kHeapIsCounted = true;
#else
inline constexpr bool kHeapIsCounted = false;
#endif

// Bytes the allocator has handed out and not had back, small blocks and blocks with pages of
// their own alike; 0 where the C library does not say.
inline qint64 heapHeld() {
#if defined(__GLIBC__)
    const struct mallinfo2 m = mallinfo2();
    return qint64(m.uordblks + m.hblkhd);
#else
    return 0;
#endif
}

} // namespace vq::test
