#include "ControlGroups.h"

#include "TextFields.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace pelto {

namespace cgroups {
namespace {

// A v1 hierarchy's comma-separated controllers include `controller`.
bool Names(std::string_view controllers, std::string_view controller) {
    return text::FindPiece(controllers, ',', [&](std::string_view c) { return c == controller; });
}

} // namespace

std::optional<std::string> ReadText(const std::string& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> GroupFolders(std::string_view procSelfCgroup,
                                      std::string_view controller) {
    std::vector<std::string> folders;
    text::FindPiece(procSelfCgroup, '\n', [&](std::string_view line) {
        // hierarchy-id:controllers:path; v2 has id 0 and no controllers.
        const size_t first = line.find(':');
        const size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
        if (second == std::string_view::npos) return false;
        const std::string_view controllers = line.substr(first + 1, second - first - 1);
        std::string path(line.substr(second + 1));
        std::vector<std::string> roots;
        if (controllers.empty() && line.starts_with("0:"))
            roots = {"/sys/fs/cgroup", "/sys/fs/cgroup/unified"};
        else if (Names(controllers, controller))
            roots = {"/sys/fs/cgroup/" + std::string(controller)}; // co-mounted ones link it
        for (const std::string& root : roots)
            for (std::string p = path;; p = p.substr(0, p.rfind('/'))) {
                folders.push_back(root + (p == "/" ? "" : p));
                if (p.empty() || p == "/") break;
            }
        return false;
    });
    return folders;
}

} // namespace cgroups

} // namespace pelto
