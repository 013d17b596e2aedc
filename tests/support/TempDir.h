#pragma once
// A fresh folder under the system's temporary folder (or under `under`),
// removed with its content.

#include <string>

namespace pelto {

class TempDir {
public:
    explicit TempDir(const std::string& under = {});
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // Removes everything in it.
    void Clear() const;

private:
    std::string m_path;
};

} // namespace pelto
