#include "CpuCount.h"

#include "ControlGroups.h"
#include "TextFields.h"

#include <algorithm>
#include <sched.h>
#include <thread>

namespace pelto {
namespace {

std::optional<unsigned> Grant(std::optional<long long> quota, std::optional<long long> period) {
    if (!quota || !period || *quota <= 0 || *period <= 0) return std::nullopt;
    return unsigned(std::max<long long>(1, (*quota + *period - 1) / *period));
}

unsigned AffinityCount() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0) return unsigned(CPU_COUNT(&set));
    return std::max(1u, std::thread::hardware_concurrency());
}

std::optional<unsigned> GroupQuota(const std::string& folder) {
    if (const auto max = cgroups::ReadText(folder + "/cpu.max")) return QuotaCpus(*max);
    const auto quota = cgroups::ReadText(folder + "/cpu.cfs_quota_us");
    const auto period = cgroups::ReadText(folder + "/cpu.cfs_period_us");
    if (!quota || !period) return std::nullopt;
    return QuotaCpus(*quota, *period);
}

} // namespace

std::optional<unsigned> QuotaCpus(std::string_view cpuMax) {
    const size_t blank = cpuMax.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    return Grant(text::LeadingNumber<long long>(cpuMax.substr(0, blank)),
                 text::LeadingNumber<long long>(cpuMax.substr(blank + 1)));
}

std::optional<unsigned> QuotaCpus(std::string_view quotaUs, std::string_view periodUs) {
    return Grant(text::LeadingNumber<long long>(quotaUs), text::LeadingNumber<long long>(periodUs));
}

unsigned CountUsableCpus() {
    unsigned cpus = std::max(1u, AffinityCount());
    if (const auto groups = cgroups::ReadText("/proc/self/cgroup"))
        for (const std::string& folder : cgroups::GroupFolders(*groups, "cpu"))
            if (const auto quota = GroupQuota(folder)) cpus = std::min(cpus, *quota);
    return cpus;
}

unsigned UsableCpuCount() {
    static const unsigned count = CountUsableCpus();
    return count;
}

} // namespace pelto
