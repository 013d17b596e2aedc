#pragma once
// A private folder for the files of one fuzzing process, on a RAM disk when
// there is one, removed with everything in it at exit.

#include <filesystem>
#include <string>
#include <unistd.h>

namespace pelto {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix) {
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        m_path = base / (prefix + "-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string File(const std::string& name) const { return (m_path / name).string(); }
    void Clear() const {
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            std::filesystem::remove_all(entry.path());
    }
    size_t Count() const {
        size_t n = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_path))
            ++n;
        return n;
    }

private:
    std::filesystem::path m_path;
};

} // namespace pelto
