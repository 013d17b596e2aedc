#include "SystemTestSupport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <poll.h>
#include <pthread.h>
#include <pwd.h>
#include <stdexcept>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pelto {

namespace fs = std::filesystem;

std::string WhyNotRoot() {
    return ::geteuid() == 0 ? "" : "needs root (a second user, mounts, control groups)";
}

OtherUser Nobody() {
    const passwd* user = ::getpwnam("nobody");
    if (!user) throw std::runtime_error("no user nobody");
    return {user->pw_uid, user->pw_gid};
}

TempMount::TempMount(uint64_t bytes) {
    std::string pattern = (fs::temp_directory_path() / "pelto-mount-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    m_path = pattern;
    if (const std::string why = WhyNotRoot(); !why.empty()) {
        m_failure = why;
        return;
    }
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    if (::mount("tmpfs", m_path.c_str(), "tmpfs", 0, options.c_str()) != 0)
        m_failure = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
}

TempMount::~TempMount() {
    if (m_failure.empty()) ::umount2(m_path.c_str(), MNT_DETACH);
    ::rmdir(m_path.c_str());
}

bool TempMount::RemountReadOnly() {
    return ::mount("tmpfs", m_path.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

namespace {

void ReadAll(int fd, std::string& into) {
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        into.append(buffer, size_t(n));
}

} // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        if (!options.cgroupFolder.empty())
            std::ofstream(options.cgroupFolder + "/cgroup.procs") << ::getpid() << std::flush;
        int input = in[0];
        if (!options.input) {
            const std::string from = options.inputFile.empty() ? "/dev/null" : options.inputFile;
            input = ::open(from.c_str(), O_RDONLY);
        }
        ::dup2(input, 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::signal(SIGPIPE, SIG_DFL);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    ProcessResult result;
    std::thread feeder([&] {
        // A child that stops reading gives EPIPE here, not SIGPIPE to the tests.
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
        if (options.input) {
            const std::string& bytes = *options.input;
            for (size_t done = 0; done < bytes.size();) {
                const ssize_t n = ::write(in[1], bytes.data() + done, bytes.size() - done);
                if (n <= 0) break;
                done += size_t(n);
            }
        }
        ::close(in[1]);
    });
    std::thread errors([&] { ReadAll(err[0], result.err); });
    std::thread watcher([&] {
        if (options.whileRunning) options.whileRunning(child);
    });
    ReadAll(out[0], result.out);
    watcher.join();
    errors.join();
    feeder.join();
    ::close(out[0]);
    ::close(err[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

namespace {

using Clock = std::chrono::steady_clock;

class Descriptor {
public:
    Descriptor(int fd, const char* what) : m_fd(fd) {
        if (fd < 0) throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
    }
    ~Descriptor() { ::close(m_fd); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    operator int() const { return m_fd; }

private:
    int m_fd;
};

// Readable once the process has ended, before it is reaped. (This C
// library's header for pidfd_open lacks the C linkage C++ needs.)
Descriptor ProcessEnd(pid_t pid) {
    return Descriptor(int(::syscall(SYS_pidfd_open, pid, 0)), "pidfd_open");
}

// False when the deadline passed with none of them ready.
template <size_t N> bool PollUntil(pollfd (&fds)[N], Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        const int ready = ::poll(fds, N, int(std::max<int64_t>(left.count(), 0)));
        if (ready > 0) return true;
        if (ready == 0) return false;
        if (errno != EINTR) throw std::runtime_error("poll");
    }
}

// The state letter of /proc/TASK/stat ('S' asleep, 'R' running...), after the
// name in parentheses, which may hold anything.
char TaskState(const std::string& proc) {
    std::ifstream file(proc + "/stat");
    const std::string stat{std::istreambuf_iterator<char>(file), {}};
    const size_t name = stat.rfind(')');
    return name != std::string::npos && name + 2 < stat.size() ? stat[name + 2] : '?';
}

bool BlockedInOpen(pid_t task) {
    const std::string proc = "/proc/" + std::to_string(task);
    // The call a sleeping task is in: its number first; "running" otherwise.
    std::ifstream call(proc + "/syscall");
    long number = -1;
    if (!(call >> number)) return false;
    // Interruptible, as a FIFO's open waits, unlike a disk's.
    return (number == SYS_openat || number == SYS_open) && TaskState(proc) == 'S';
}

} // namespace

void EndWithin(pid_t pid, std::chrono::seconds within) {
    const Descriptor end = ProcessEnd(pid);
    pollfd ended[] = {{end, POLLIN, 0}};
    if (!PollUntil(ended, Clock::now() + within)) ::kill(pid, SIGKILL);
}

bool AwaitInFolder(pid_t pid, const std::string& folder, const std::function<bool()>& done,
                   std::chrono::seconds within) {
    const auto deadline = Clock::now() + within;
    const Descriptor changes(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC), "inotify_init1");
    // Not reads: a child reading its input there would flood the queue.
    if (::inotify_add_watch(changes, folder.c_str(), IN_ALL_EVENTS & ~IN_ACCESS) < 0)
        throw std::runtime_error("cannot watch " + folder + ": " + std::strerror(errno));
    const Descriptor end = ProcessEnd(pid);
    pollfd watched[] = {{changes, POLLIN, 0}, {end, POLLIN, 0}};
    // Asked first once the watch is set, so that nothing before it is missed.
    while (!done()) {
        if (!PollUntil(watched, deadline)) return false;
        if (watched[1].revents != 0) return done();
        char events[4096];
        while (::read(changes, events, sizeof events) > 0) {
        }
    }
    return true;
}

bool AwaitBlockedInOpen(pid_t task, std::chrono::seconds within) {
    const auto deadline = Clock::now() + within;
    while (!BlockedInOpen(task)) {
        if (Clock::now() >= deadline) return false;
        // Nothing tells when a task falls asleep: look again in a moment.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TaskThread::TaskThread(std::function<void()> work) {
    std::promise<pid_t> task;
    std::future<pid_t> known = task.get_future();
    m_thread = std::thread([task = std::move(task), work = std::move(work)]() mutable {
        task.set_value(::gettid());
        work();
    });
    m_task = known.get();
}

std::vector<std::string> FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> TreeListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(entry.path());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> OpenFiles(pid_t pid) {
    std::vector<std::string> targets;
    std::error_code ended; // the process, or one of its files, is gone
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ended))
        targets.push_back(fs::read_symlink(fd.path(), ended).string());
    return targets;
}

} // namespace pelto
