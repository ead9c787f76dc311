#include "platform/fontconfiguration.h"

#if defined(__linux__)
#include <fontconfig/fontconfig.h>
#endif

namespace vq {

std::shared_future<void> loadFontConfiguration() {
#if defined(__linux__)
    // The library keeps the configuration it loads as the current one, which Qt's font
    // database then takes instead of loading its own.
    return std::async(std::launch::async, [] { FcInit(); }).share();
#else
    return {};
#endif
}

} // namespace vq
