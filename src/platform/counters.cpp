#include "platform/counters.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

namespace vq {

#ifdef _WIN32
std::optional<std::uint64_t> performanceCounter() {
    LARGE_INTEGER value;
    if (!QueryPerformanceCounter(&value))
        return std::nullopt;
    return static_cast<std::uint64_t>(value.QuadPart);
}

std::uint32_t tickCount() {
    return GetTickCount();
}
#else
std::optional<std::uint64_t> performanceCounter() {
    timespec ts{};
    if (::clock_gettime(CLOCK_MONOTONIC, &ts) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(ts.tv_sec) * 1'000'000'000ull +
           static_cast<std::uint64_t>(ts.tv_nsec);
}

std::uint32_t tickCount() {
    timespec ts{};
    if (::clock_gettime(CLOCK_MONOTONIC, &ts) != 0)
        return 0;
    const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000ull +
                    static_cast<std::uint64_t>(ts.tv_nsec) / 1'000'000ull;
    return static_cast<std::uint32_t>(ms);
}
#endif

} // namespace vq
