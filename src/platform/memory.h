#pragma once

#include <cstddef>

namespace vq {

// Hands memory that the program has freed back to the system, so that the resident size
// follows what is in use after a large picture or the start-up's temporary data went away.
// Where the allocator does that by itself it does nothing.
void returnFreedMemory();

// Called first thing in main: every large block (a picture, the bank's bytes, a decoding
// buffer) gets pages of its own that go back to the system the moment it is freed. Left to
// itself the allocator raises that limit after the first large block freed, and later ones
// land among the small blocks of the heap, where they keep pages that no trim can return.
void keepLargeBlocksApart();

// Faults in the pages of [data, data + bytes) for writing without changing what they hold, a
// stretch at a time, so that the first writes to fresh memory (a window's backing store) find
// their pages in place instead of taking a fault each 4 KB. Stops at the first stretch that is
// not mapped; does nothing where the system offers no way to do it.
void populatePages(const void* data, std::size_t bytes);

// Memory for one large block of pixels (a decoded picture), mapped on its own so that what is
// not needed of it can be given back while the rest stays (shrinkLargeBlock). Nullptr when the
// memory cannot be had. Freed only by freeLargeBlock, with the size it holds.
void* allocateLargeBlock(std::size_t bytes);
// Gives back what lies past the first `keep` bytes where the system allows it; returns the size
// the block holds from now on (what freeLargeBlock is to be told).
std::size_t shrinkLargeBlock(void* block, std::size_t bytes, std::size_t keep);
void freeLargeBlock(void* block, std::size_t bytes);

// For a short batch run that reads and writes big files (the bank tool): freed memory stays
// with the program and is reused, rather than going back to the system and coming again as
// fresh pages. Where the allocator has no such settings it does nothing.
void reuseFreedMemory();

} // namespace vq
