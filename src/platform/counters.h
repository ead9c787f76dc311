#pragma once

#include <cstdint>
#include <optional>

namespace vq {

// The high-resolution performance counter; empty when it cannot be read.
std::optional<std::uint64_t> performanceCounter();
// Milliseconds since the system started, wrapping at 2^32.
std::uint32_t tickCount();

} // namespace vq
