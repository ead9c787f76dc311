#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace vq {

// An MP3 file's frames in a WAV file of format MPEG Layer-3, which the Windows wave player
// hands to the system's MP3 codec like any compressed WAV: the tags before and after the
// frames are left out, the header carries the first frame's rate, channels and block size and
// the average bit rate of all of them. Nullopt where no run of MPEG Layer III frames is found.
std::optional<QByteArray> mp3AsWave(QByteArrayView mp3);

} // namespace vq
