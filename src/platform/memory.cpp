#include "platform/memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vq {

void returnFreedMemory() {
#if defined(__GLIBC__)
    // glibc keeps freed blocks of the main heap, and big blocks once the first of their size
    // was freed, for reuse; the program's big allocations happen once, so give them back.
    malloc_trim(0);
#endif
}

} // namespace vq
