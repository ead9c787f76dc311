#pragma once

#include <future>

namespace vq {

// Loads the desktop's font configuration on a second thread from the moment this object is
// made, while the main thread connects to the display: the first text the windows measure would
// otherwise load it on the main thread, in the middle of creating them (on Linux some 60
// configuration files and the font caches, ~4 ms). wait() returns once it is loaded, as does the
// destructor. Nothing where the system keeps no such configuration.
class FontConfigurationLoad {
public:
    FontConfigurationLoad();
    ~FontConfigurationLoad();
    FontConfigurationLoad(const FontConfigurationLoad&) = delete;
    FontConfigurationLoad& operator=(const FontConfigurationLoad&) = delete;

    void wait();

private:
    std::future<void> m_loaded;
};

} // namespace vq
