#pragma once

namespace vq {

// Sends what the program has asked of the display server so far, at once, instead of whenever
// the event loop next turns to the display. A change made in a timer tick (a step of a fade)
// then reaches the screen in that tick. Does nothing where requests are not queued.
void flushDisplay();

} // namespace vq
