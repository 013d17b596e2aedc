#pragma once
// What tests need from the system around them: a second user, a small
// filesystem of their own, and child processes. Each needs root; a test
// that cannot have it skips with the reason, never silently.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace pelto {

// Why root-only set-ups cannot run here, or "" when they can.
std::string WhyNotRoot();

struct OtherUser {
    uid_t uid;
    gid_t gid;
};
// The unprivileged account "nobody".
OtherUser Nobody();

// A tmpfs of `bytes` mounted on a fresh folder, unmounted and removed at the end.
class TempMount {
public:
    explicit TempMount(uint64_t bytes);
    ~TempMount();
    TempMount(const TempMount&) = delete;
    TempMount& operator=(const TempMount&) = delete;

    // "" when mounted, otherwise why not.
    const std::string& Failure() const { return m_failure; }
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    bool RemountReadOnly();

private:
    std::string m_path;
    std::string m_failure;
};

struct ProcessResult {
    int exitCode = -1; // when it exited
    int signal = 0;    // when a signal ended it
    std::string out;   // its standard output
    std::string err;   // its standard error
};

struct ProcessOptions {
    std::optional<std::string> input; // fed through a pipe, else /dev/null
    std::string inputFile;            // or this file as standard input
    std::string cgroupFolder;         // joined before exec, when set
    // Called with the child's pid while it runs; the child is awaited after.
    std::function<void(pid_t)> whileRunning;
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});
// For whileRunning: waits up to seconds for the child to end, then ends it
// by SIGKILL, so that a hang fails instead of hanging the tests.
void EndWithin(pid_t pid, int seconds);

// The names in a folder, sorted.
std::vector<std::string> FolderListing(const std::string& folder);

} // namespace pelto
