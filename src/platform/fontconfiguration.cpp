#include "platform/fontconfiguration.h"

#if defined(__linux__)
#include <fontconfig/fontconfig.h>
#endif

namespace vq {

FontConfigurationLoad::FontConfigurationLoad() {
#if defined(__linux__)
    // The library keeps the configuration it loads as the current one, which Qt's font
    // database then takes instead of loading its own.
    m_loaded = std::async(std::launch::async, [] { FcInit(); });
#endif
}

FontConfigurationLoad::~FontConfigurationLoad() {
    wait();
}

void FontConfigurationLoad::wait() {
    if (m_loaded.valid())
        m_loaded.get();
}

} // namespace vq
