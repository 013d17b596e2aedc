#pragma once
// Reading this process's control groups (v1 or v2) from /proc/self/cgroup,
// for the limits they set on memory and processor time.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelto {

namespace cgroups {

// The whole text of a file, or nothing when it cannot be read.
std::optional<std::string> ReadText(const std::string& path);

// The folders of the control groups of `controller` ("memory", "cpu") that a
// /proc/self/cgroup text names, each group first, then its parents up to the
// mount's root. A v2 group serves every controller.
std::vector<std::string> GroupFolders(std::string_view procSelfCgroup, std::string_view controller);

} // namespace cgroups

} // namespace pelto
