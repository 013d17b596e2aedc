#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace pelto {

TempDir::TempDir(const std::string& under) {
    const std::filesystem::path base =
        under.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(under);
    std::string pattern = (base / "pelto-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests may have made parts read-only; give them back before removing.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

void TempDir::Clear() const {
    for (const auto& entry : std::filesystem::directory_iterator(m_path))
        std::filesystem::remove_all(entry.path());
}

} // namespace pelto
