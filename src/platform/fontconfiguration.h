#pragma once

#include <future>

namespace vq {

// Starts loading the desktop's font configuration on a second thread, while the main thread
// connects to the display: the first text the windows measure would otherwise load it on the
// main thread, in the middle of creating them (on Linux some 60 configuration files and the
// font caches, ~4 ms). Ready once it is loaded; invalid where the system keeps no such
// configuration. The last copy waits for the loading when it goes.
std::shared_future<void> loadFontConfiguration();

} // namespace vq
