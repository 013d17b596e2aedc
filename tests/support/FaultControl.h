#pragma once
// The tests' side of system/FaultInjection.h: they and the fuzz targets
// make the program meet what a full or failing disk, a machine near its
// memory limit or a filesystem without unnamed files would bring. Each
// setting is process-wide and stands until it is lifted.

#include "system/FaultInjection.h"

#include <cstdint>

namespace pelto {

namespace faults {

// Once `bytes` more bytes have been written, writes and syncs fail with error
// (ENOSPC, EIO, ...); error 0 lifts it.
void FailWritesAfter(int error, uint64_t bytes = 0);
// Memory blocks larger than limit bytes fail as if memory were exhausted; 0 lifts it.
void LimitBlockSize(uint64_t limit);
// After `successes` more blocks have been allocated, the next one fails, once; -1 lifts it.
void FailAllocationAfter(int successes);
// Whether saves may use unnamed temporary files; off, they behave as on a
// filesystem that has none.
void AllowUnnamedFiles(bool allowed);

} // namespace faults

} // namespace pelto
