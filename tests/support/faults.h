#pragma once

#if defined(__linux__)
#include <sys/resource.h>

namespace vq::test {

// Page faults the calling thread has taken that needed no reading from disk (fresh or shared
// pages mapped in); each first touch of a fresh 4 KB page is one.
inline long minorFaults() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_minflt;
}

} // namespace vq::test
#endif
