#pragma once
// How much more memory this process may take before the system refuses it or
// ends the process: the least of what the system has free (MemAvailable and
// free swap), what each of its memory control groups (v1 or v2) still allows,
// and its address-space and data limits. A limit that cannot be read does not count.
//
// Web twin: the browser build compiles web/WebPlatform.cpp instead of
// MemoryLimit.cpp; it defines all but the parsing, from the WebAssembly memory.

#include <cstdint>
#include <optional>
#include <string_view>

namespace pelto {

namespace memlimit {

uint64_t AvailableBytes();
// The address space each thread a run starts maps for its stack (and its guard),
// which the system keeps mapped for the next thread once it ends.
uint64_t ThreadStackBytes();
// Under an address-space or data limit, lets every thread allocate from the
// one heap: the C library would otherwise reserve 64 MiB of address space for
// each thread's own heap, which no footprint counts and such a limit refuses.
void ShareOneHeapUnderLimits();
// Whether an address-space or data limit holds: a thread that no footprint
// counts (its stack) may then take what a run was promised.
bool AddressSpaceLimited();
// Throws std::bad_alloc when bytes more would not fit.
void EnsureAvailable(uint64_t bytes);

// The readers' parsing, for tests.
// The value after "key" on a line of a /proc/meminfo or memory.stat text,
// times unit (1024 for meminfo's kB).
std::optional<uint64_t> FieldValue(std::string_view text, std::string_view key, uint64_t unit = 1);
// A control group's limit file: a number, or "max" (or a v1 "no limit" value) for none.
std::optional<uint64_t> LimitValue(std::string_view text);

} // namespace memlimit

} // namespace pelto
