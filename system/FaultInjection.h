#pragma once
// What the files and the memory ask before each write, sync, block and
// temporary file: whether to fail as a full or failing disk, a machine near
// its memory limit or a filesystem without unnamed files would make them.
// A seam: the programs link no_faults (NoFaults.cpp), whose answers are that
// nothing fails; the tests and the fuzz targets link the controllable answers
// of tests/support/FaultControl.h instead.

#include <cstdint>

namespace pelto {

namespace faults {

// How many of `wanted` bytes a write may still put down; WriteError() then
// tells the error to report once the budget is spent (0: none).
uint64_t WritableBytes(uint64_t wanted);
void SpendWrite(uint64_t written);
int WriteError();
// Whether the next block of `size` bytes is to fail.
bool AllocationFails(uint64_t size);
bool UnnamedFilesAllowed();

} // namespace faults

} // namespace pelto
