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
#include <pthread.h>
#include <pwd.h>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
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

void EndWithin(pid_t pid, int seconds) {
    for (int i = 0; i < seconds * 10 && ::kill(pid, 0) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string pidText, name, state;
        if (stat >> pidText >> name >> state && state == "Z") return;
    }
    ::kill(pid, SIGKILL);
}

std::vector<std::string> FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace pelto
