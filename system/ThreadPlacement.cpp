#include "ThreadPlacement.h"

#include <pthread.h>
#include <sched.h>
#include <unistd.h>

namespace pelto::placement {

namespace {

// The processors of the thread `who` (0: the caller).
bool AllowedCpus(cpu_set_t& set, pid_t who = 0) {
    CPU_ZERO(&set);
    return ::sched_getaffinity(who, sizeof set, &set) == 0;
}

} // namespace

// Failures only cost the placement: the thread then goes where the system puts it.
void PlaceApart(std::thread& thread, unsigned apart) {
    cpu_set_t allowed;
    const int here = ::sched_getcpu();
    if (!AllowedCpus(allowed) || here < 0 || CPU_COUNT(&allowed) < 2) return;
    // The allowed processors in turn from the caller's, wrapping round.
    unsigned left = apart % unsigned(CPU_COUNT(&allowed));
    int cpu = here;
    while (left > 0) {
        cpu = (cpu + 1) % CPU_SETSIZE;
        if (CPU_ISSET(cpu, &allowed)) --left;
    }
    if (cpu == here) return;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    ::pthread_setaffinity_np(thread.native_handle(), sizeof one, &one);
}

void FreeCaller() {
    // The caller's own set is the one processor it was placed on: the main thread's is the
    // process's.
    cpu_set_t allowed;
    if (AllowedCpus(allowed, ::getpid())) ::sched_setaffinity(0, sizeof allowed, &allowed);
}

} // namespace pelto::placement
