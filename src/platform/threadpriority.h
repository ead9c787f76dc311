#pragma once

namespace vq {

// Gives the calling thread the lowest scheduling priority. For a start-up helper whose result
// is needed later than the main thread's work and the background picture's decoding (the
// question bank's bytes, the window's memory, the session bus): on a two-core machine it then
// runs on what those leave free instead of taking turns with them. Nothing where the system has
// no per-thread priorities.
void lowerThreadPriority();

} // namespace vq
