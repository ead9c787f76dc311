#pragma once

#include <sndfile.h>

namespace vq {

// libsndfile, loaded with the first sound file that needs it rather than linked with the program:
// most installations' sounds never do, and with its codecs' libraries it would add to every
// start. Shared by the sound path's copies and the bank check's look at a bank's clips.
struct SndFileLibrary {
    decltype(&sf_open) open = nullptr;
    decltype(&sf_open_fd) openFd = nullptr;
    decltype(&sf_close) close = nullptr;
    decltype(&sf_command) command = nullptr;
    decltype(&sf_strerror) error = nullptr;
    decltype(&sf_readf_short) readShortFrames = nullptr;
    decltype(&sf_readf_float) readFrames = nullptr;
    decltype(&sf_writef_float) writeFrames = nullptr;
    decltype(&sf_writef_short) writeShortFrames = nullptr;

    // Null where the library is not installed (or lacks a function used here).
    static const SndFileLibrary* get();
};

} // namespace vq
