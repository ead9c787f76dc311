#pragma once

namespace vq {

// Asks the desktop to report a key held down as one press, its repeats as further presses and
// one release when the key is let go, with no release in between. On X the server otherwise
// sends a release before every repeat, which Qt can tell from a real release only when the
// press after it has already come in; under load it often has not, and the release counts as a
// key let go. Windows sends no release until the key is let go, and its repeats carry the key's
// earlier state; there, and where there is no X server (no real keyboard, as offscreen), this
// does nothing.
void askForTrueKeyReleases();

} // namespace vq
