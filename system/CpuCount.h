#pragma once
// How many processors this process may keep busy at once: those its affinity
// mask lets it run on, fewer where a control group's quota of processor time
// (v2 cpu.max, v1 cpu.cfs_quota_us over cpu.cfs_period_us) grants less,
// rounded up; at least 1.
//
// Web twin: the browser build compiles web/WebPlatform.cpp instead of
// CpuCount.cpp, which counts the browser's processors (1 unthreaded) and finds no quota.

#include <optional>
#include <string_view>

namespace pelto {

// Read once, at the first call.
unsigned UsableCpuCount();
// Read afresh.
unsigned CountUsableCpus();

// The parsing, for tests: the processors a quota of quota microseconds per
// period grants, rounded up; nothing for no quota ("max", or v1's -1).
std::optional<unsigned> QuotaCpus(std::string_view cpuMax);
std::optional<unsigned> QuotaCpus(std::string_view quotaUs, std::string_view periodUs);

} // namespace pelto
