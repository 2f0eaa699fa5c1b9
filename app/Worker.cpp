#include "app/Worker.h"

#include <sys/resource.h>

namespace Worker {

QThreadPool &pool()
{
    static QThreadPool workers;
    return workers;
}

void lowerThisThreadsPriority()
{
    // On Linux the nice value belongs to the calling thread; the pool's threads only ever
    // run this kind of work, so it is set once per thread and never raised again.
    static thread_local bool lowered = [] {
        setpriority(PRIO_PROCESS, 0, 10);
        return true;
    }();
    Q_UNUSED(lowered);
}

} // namespace Worker
