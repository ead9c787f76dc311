#include "platform/sndfilelibrary.h"

#include "platform/latelibrary.h"

#include <QLibrary>

namespace vq {
namespace {

const SndFileLibrary* load() {
    static QLibrary library(QStringLiteral("sndfile"), 1);
    static SndFileLibrary functions;
    if (!library.load())
        return nullptr;
    const auto resolve = [](auto& function, const char* name) {
        return resolveInto(library, function, name);
    };
    if (!resolve(functions.open, "sf_open") || !resolve(functions.openFd, "sf_open_fd") ||
        !resolve(functions.close, "sf_close") || !resolve(functions.command, "sf_command") ||
        !resolve(functions.error, "sf_strerror") ||
        !resolve(functions.readShortFrames, "sf_readf_short") ||
        !resolve(functions.readFrames, "sf_readf_float") ||
        !resolve(functions.writeFrames, "sf_writef_float") ||
        !resolve(functions.writeShortFrames, "sf_writef_short"))
        return nullptr;
    return &functions;
}

} // namespace

const SndFileLibrary* SndFileLibrary::get() {
    static const SndFileLibrary* const loaded = load();
    return loaded;
}

} // namespace vq
