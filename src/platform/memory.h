#pragma once

namespace vq {

// Hands memory that the program has freed back to the system, so that the resident size
// follows what is in use after a large picture or the start-up's temporary data went away.
// Where the allocator does that by itself it does nothing.
void returnFreedMemory();

} // namespace vq
