#include "platform/threadpriority.h"

#include <QtGlobal>

#if defined(Q_OS_LINUX)
#include <sys/resource.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace vq {

void lowerThreadPriority() {
#if defined(Q_OS_LINUX)
    // On Linux a thread's nice value is its own: the others keep theirs.
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
#elif defined(Q_OS_WIN)
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
#endif
}

} // namespace vq
