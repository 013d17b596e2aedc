// Saves land where a shell redirect to the same path would: through a
// descriptor's link to a pipe, a deleted file or a memfd, under a path as
// long as the system accepts, and never onto a socket.

#include "support/SystemTestSupport.h"
#include "support/TempDir.h"
#include "system/FileSave.h"

#include <gtest/gtest.h>

#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace pelto {

namespace fs = std::filesystem;

namespace {

const std::string kContent = "BM new content";

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Drain(int fd) {
    std::string all;
    char buffer[256];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        all.append(buffer, size_t(n));
    return all;
}

// A folder nested so deep that its path, with a file name of 100 characters,
// comes within a few characters of the longest path the system takes.
std::string DeepFolder(const TempDir& dir) {
    const size_t length = PATH_MAX - 10 - 1 - 100;
    std::string folder = dir.Path();
    while (folder.size() + 1 < length) {
        const size_t name = std::min<size_t>(240, length - folder.size() - 1);
        folder.push_back('/');
        folder.append(name, 'd');
        fs::create_directory(folder);
    }
    return folder;
}

struct Target {
    const char* name;
    // Makes the target in dir; returns its path, and how to read what landed there.
    std::function<std::string(const TempDir&, std::function<std::string()>&)> make;
    int error; // 0 when the save must succeed
};

class SaveLandsWhereARedirectWould : public ::testing::TestWithParam<Target> {};

TEST_P(SaveLandsWhereARedirectWould, OrIsRefusedWithItsOwnReason) {
    TempDir dir;
    std::function<std::string()> landed;
    const std::string path = GetParam().make(dir, landed);
    ASSERT_LT(path.size(), size_t(PATH_MAX));
    const SaveOutcome outcome =
        SaveFile(path, [](CFile& file) { file.Write(kContent.data(), kContent.size()); });
    EXPECT_EQ(outcome.error, GetParam().error);
    if (landed) {
        EXPECT_EQ(landed(), GetParam().error ? std::string() : kContent);
    }
}

// The pipe's reader runs beside the save, which a full pipe would block.
std::string ThroughPipe(const std::string& prefix, std::function<std::string()>& landed) {
    int ends[2];
    if (::pipe(ends) != 0) return "";
    auto reader = std::make_shared<std::string>();
    auto thread = std::make_shared<std::thread>([=] { *reader = Drain(ends[0]); });
    landed = [=] {
        ::close(ends[1]);
        thread->join();
        ::close(ends[0]);
        return *reader;
    };
    return prefix + std::to_string(ends[1]);
}

// A descriptor on a file with no name to replace, holding more than the save
// writes; what landed is read through the descriptor itself.
std::string ThroughNamelessFile(int fd, std::function<std::string()>& landed) {
    const std::string old = "an old content longer than the new one";
    if (fd < 0 || ::write(fd, old.data(), old.size()) != ssize_t(old.size())) return "";
    landed = [=] {
        ::lseek(fd, 0, SEEK_SET);
        std::string all = Drain(fd);
        ::close(fd);
        return all;
    };
    return "/dev/fd/" + std::to_string(fd);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, SaveLandsWhereARedirectWould,
    ::testing::Values(
        Target{"APipeThroughProc",
               [](const TempDir&, auto& landed) { return ThroughPipe("/proc/self/fd/", landed); },
               0},
        Target{"APipeThroughDevFd",
               [](const TempDir&, auto& landed) { return ThroughPipe("/dev/fd/", landed); }, 0},
        Target{"ADeletedFileThroughDevFd",
               [](const TempDir& dir, auto& landed) {
                   const int fd = ::open(dir.File("gone").c_str(), O_RDWR | O_CREAT, 0644);
                   ::unlink(dir.File("gone").c_str());
                   return ThroughNamelessFile(fd, landed);
               },
               0},
        Target{"AMemfdThroughDevFd",
               [](const TempDir&, auto& landed) {
                   return ThroughNamelessFile(::memfd_create("picture", 0), landed);
               },
               0},
        Target{"ANewFileUnderTheLongestPath",
               [](const TempDir& dir, auto& landed) {
                   const std::string path = DeepFolder(dir) + "/" + std::string(100, 'n');
                   landed = [=] { return Read(path); };
                   return path;
               },
               0},
        Target{"AnOldFileUnderTheLongestPath",
               [](const TempDir& dir, auto& landed) {
                   const std::string path = DeepFolder(dir) + "/" + std::string(100, 'o');
                   std::ofstream(path) << "old";
                   landed = [=] {
                       return FolderListing(fs::path(path).parent_path()).size() == 1
                                  ? Read(path)
                                  : "something else was left";
                   };
                   return path;
               },
               0},
        Target{"ASocketFile",
               [](const TempDir& dir, auto&) {
                   sockaddr_un address{};
                   address.sun_family = AF_UNIX;
                   const std::string path = dir.File("socket");
                   path.copy(address.sun_path, sizeof address.sun_path - 1);
                   const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                   ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
                   ::close(fd);
                   return path;
               },
               kSocketTarget},
        Target{"ASocketThroughProc",
               [](const TempDir&, auto&) {
                   int pair[2];
                   ::socketpair(AF_UNIX, SOCK_STREAM, 0, pair); // left open for the save
                   return "/proc/self/fd/" + std::to_string(pair[0]);
               },
               kSocketTarget}),
    [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
