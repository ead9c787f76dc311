#pragma once

// For tests only; the shipped program never includes this header.

#include "platform/sound.h"

namespace vq {

namespace detail {
extern SoundService* installedSoundService;
} // namespace detail

// Installs a service (not owned); nullptr restores the real player.
void setSoundService(SoundService* service);

} // namespace vq
