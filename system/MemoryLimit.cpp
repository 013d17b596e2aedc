#include "MemoryLimit.h"

#include "ControlGroups.h"
#include "TextFields.h"

#include <algorithm>
#include <limits>
#include <malloc.h>
#include <new>
#include <pthread.h>
#include <sstream>
#include <sys/resource.h>
#include <tuple>
#include <unistd.h>

namespace pelto {

namespace memlimit {
namespace {

constexpr uint64_t kUnlimited = std::numeric_limits<uint64_t>::max();
// cgroup v1 writes "no limit" as the largest page-aligned 63-bit number.
constexpr uint64_t kNoLimitV1 = uint64_t(1) << 62;

using cgroups::ReadText;

uint64_t Subtract(uint64_t a, uint64_t b) {
    return a > b ? a - b : 0;
}

uint64_t SystemRoom() {
    const std::optional<std::string> meminfo = ReadText("/proc/meminfo");
    if (!meminfo) return kUnlimited;
    const auto available = FieldValue(*meminfo, "MemAvailable:", 1024);
    if (!available) return kUnlimited;
    return *available + FieldValue(*meminfo, "SwapFree:", 1024).value_or(0);
}

// Limit less use, where the page cache that can be dropped counts as free.
std::optional<uint64_t> GroupRoom(const std::string& folder) {
    for (const auto& [limitFile, usageFile, cacheKey, sharedKey] :
         {std::tuple{"memory.max", "memory.current", "file", "shmem"},
          std::tuple{"memory.limit_in_bytes", "memory.usage_in_bytes", "total_cache",
                     "total_shmem"}}) {
        const auto limitText = ReadText(folder + "/" + limitFile);
        if (!limitText) continue;
        const std::optional<uint64_t> limit = LimitValue(*limitText);
        const auto usageText = ReadText(folder + "/" + usageFile);
        if (!limit || !usageText) return std::nullopt;
        const uint64_t usage = text::LeadingNumber<uint64_t>(*usageText).value_or(0);
        const std::string stat = ReadText(folder + "/memory.stat").value_or("");
        const uint64_t droppable = Subtract(FieldValue(stat, cacheKey).value_or(0),
                                            FieldValue(stat, sharedKey).value_or(0));
        return Subtract(*limit, Subtract(usage, droppable));
    }
    return std::nullopt;
}

uint64_t GroupsRoom() {
    uint64_t room = kUnlimited;
    const std::optional<std::string> groups = ReadText("/proc/self/cgroup");
    if (!groups) return room;
    for (const std::string& folder : cgroups::GroupFolders(*groups, "memory"))
        if (const auto r = GroupRoom(folder)) room = std::min(room, *r);
    return room;
}

// statm field `index` (in pages): 0 the whole address space, 5 data and stack.
uint64_t ProcessPages(int index) {
    std::istringstream statm(ReadText("/proc/self/statm").value_or(""));
    uint64_t value = 0;
    for (int i = 0; i <= index; ++i)
        if (!(statm >> value)) return 0;
    return value;
}

constexpr std::pair<int, int> kLimitedSpaces[] = {{RLIMIT_AS, 0}, {RLIMIT_DATA, 5}};

std::optional<uint64_t> Limit(int resource) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return std::nullopt;
    return limit.rlim_cur;
}

uint64_t LimitsRoom() {
    uint64_t room = kUnlimited;
    const uint64_t page = uint64_t(::sysconf(_SC_PAGESIZE));
    for (const auto& [resource, field] : kLimitedSpaces)
        if (const std::optional<uint64_t> limit = Limit(resource))
            room = std::min(room, Subtract(*limit, ProcessPages(field) * page));
    return room;
}

} // namespace

std::optional<uint64_t> FieldValue(std::string_view lines, std::string_view key, uint64_t unit) {
    std::optional<uint64_t> found;
    text::FindPiece(lines, '\n', [&](std::string_view line) {
        if (!line.starts_with(key)) return false;
        line.remove_prefix(key.size());
        if (!line.empty() && line.front() != ' ' && line.front() != '\t') return false;
        found = text::LeadingNumber<uint64_t>(line);
        return found.has_value();
    });
    if (found) *found *= unit;
    return found;
}

std::optional<uint64_t> LimitValue(std::string_view text) {
    const std::optional<uint64_t> value = text::LeadingNumber<uint64_t>(text);
    if (!value || *value >= kNoLimitV1) return std::nullopt;
    return value;
}

uint64_t AvailableBytes() {
    return std::min({SystemRoom(), GroupsRoom(), LimitsRoom()});
}

uint64_t ThreadStackBytes() {
    pthread_attr_t attr;
    if (::pthread_getattr_default_np(&attr) != 0) return 0;
    size_t stack = 0, guard = 0;
    ::pthread_attr_getstacksize(&attr, &stack);
    ::pthread_attr_getguardsize(&attr, &guard);
    ::pthread_attr_destroy(&attr);
    return uint64_t(stack) + guard;
}

void ShareOneHeapUnderLimits() {
    if (!AddressSpaceLimited()) return;
    ::mallopt(M_ARENA_MAX, 1);
    // A fixed threshold: big blocks stay mapped on their own and go back to
    // the system when freed, instead of staying in the heap.
    ::mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

bool AddressSpaceLimited() {
    for (const auto& space : kLimitedSpaces)
        if (Limit(space.first)) return true;
    return false;
}

void EnsureAvailable(uint64_t bytes) {
    if (bytes > AvailableBytes()) throw std::bad_alloc();
}

} // namespace memlimit

} // namespace pelto
