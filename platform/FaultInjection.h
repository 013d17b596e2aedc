#pragma once
// The one testing interface of the files and the memory: tests and the fuzz
// targets make the program meet what a full or failing disk, a machine near
// its memory limit or a filesystem without unnamed files would bring. Each
// setting is process-wide and stands until it is lifted. The production code
// only reads them (the second half of this header).

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

// For the production code.
// How many of `wanted` bytes a write may still put down; error() then tells
// the error to report once the budget is spent (0: no fault set).
uint64_t WritableBytes(uint64_t wanted);
void SpendWrite(uint64_t written);
int WriteError();
// Whether the next block of `size` bytes is to fail.
bool AllocationFails(uint64_t size);
bool UnnamedFilesAllowed();

} // namespace faults

} // namespace pelto
