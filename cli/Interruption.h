#pragma once
// Ctrl+C (SIGINT) and SIGTERM during a batch: the first asks it to stop
// after the pictures in flight, a second ends the process as the careful
// save's own handlers would (system/SignalCleanup.h). A signal ignored
// when the program started stays ignored.

namespace pelto {

namespace interruption {

void Install();
// The signal that asked the batch to stop, or 0.
int Signal();

} // namespace interruption

} // namespace pelto
