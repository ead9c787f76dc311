#pragma once

// For tests only; the shipped program never includes this header.

#include "data/questionpool.h"

#include <cstdint>

namespace vq {

namespace detail {
extern std::uint32_t randomSeed;
} // namespace detail

// The program's one random state, as the last draw left it.
inline std::uint32_t randomSeed() {
    return detail::randomSeed;
}

} // namespace vq
