// The programs' answers to the fault queries: nothing ever fails on purpose.

#include "FaultInjection.h"

namespace pelto {

namespace faults {

uint64_t WritableBytes(uint64_t wanted) {
    return wanted;
}

void SpendWrite(uint64_t) {}

int WriteError() {
    return 0;
}

bool AllocationFails(uint64_t) {
    return false;
}

bool UnnamedFilesAllowed() {
    return true;
}

} // namespace faults

} // namespace pelto
