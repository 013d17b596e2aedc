#pragma once
// What tests need from the system around them: a second user, a small
// filesystem of their own, child processes, and waiting on what those and
// the tests' own threads do. The first two need root; a test that cannot
// have it skips with the reason, never silently.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>
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

// How long a test waits for what a child or a thread should do before it
// fails instead of hanging; a slow machine under load stays well within it.
inline constexpr std::chrono::seconds kPatience{30};

// The waits below return as soon as what they wait for happens, and false
// when it did not within their time.

// For whileRunning: waits for the child to end, then ends it by SIGKILL.
void EndWithin(pid_t pid, std::chrono::seconds within = kPatience);
// Until done() holds, asked again at each change in folder (a file made,
// opened, written, closed, renamed or removed there); false also when the
// process pid ended with done() still false.
bool AwaitInFolder(pid_t pid, const std::string& folder, const std::function<bool()>& done,
                   std::chrono::seconds within = kPatience);
// Until task (a process, or a TaskThread) sleeps in open(), as on a FIFO
// until its other end is opened.
bool AwaitBlockedInOpen(pid_t task, std::chrono::seconds within = kPatience);

// A thread of the tests whose task id is known once it is made; joined when it goes.
class TaskThread {
public:
    explicit TaskThread(std::function<void()> work);
    ~TaskThread() { Join(); }
    TaskThread(const TaskThread&) = delete;
    TaskThread& operator=(const TaskThread&) = delete;

    pid_t Task() const { return m_task; }
    void Join() {
        if (m_thread.joinable()) m_thread.join();
    }

private:
    std::thread m_thread;
    pid_t m_task = 0;
};

// The names in a folder, sorted.
std::vector<std::string> FolderListing(const std::string& folder);
// Every path under a folder, its subfolders' too, sorted.
std::vector<std::string> TreeListing(const std::string& folder);
// What the process has open: the targets of its /proc/PID/fd links.
std::vector<std::string> OpenFiles(pid_t pid);

} // namespace pelto
