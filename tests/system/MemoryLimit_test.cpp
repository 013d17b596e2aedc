#include "system/ControlGroups.h"
#include "system/MemoryLimit.h"

#include <gtest/gtest.h>

#include <fstream>
#include <new>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pelto {

namespace {

constexpr const char* kMeminfo = "MemTotal:       24683752 kB\n"
                                 "MemAvailable:   24273580 kB\n"
                                 "SwapFree:              0 kB\n";
constexpr const char* kStat = "anon 4096\nfile 81920\nfile_mapped 100\nshmem 4096\n";

struct Field {
    const char* text;
    const char* key;
    uint64_t unit;
    std::optional<uint64_t> value;
};

class FieldValues : public ::testing::TestWithParam<Field> {};

TEST_P(FieldValues, ReadTheNumberAfterTheWholeKey) {
    EXPECT_EQ(memlimit::FieldValue(GetParam().text, GetParam().key, GetParam().unit),
              GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldValues,
    ::testing::Values(Field{kMeminfo, "MemAvailable:", 1024, uint64_t(24273580) * 1024},
                      Field{kMeminfo, "SwapFree:", 1024, 0u},
                      Field{kMeminfo, "Cached:", 1024, std::nullopt},
                      Field{kStat, "file", 1, 81920u}, // not file_mapped
                      Field{kStat, "shmem", 1, 4096u}, Field{"", "file", 1, std::nullopt},
                      Field{"file x\n", "file", 1, std::nullopt}));

TEST(LimitValue, TellsALimitFromNone) {
    EXPECT_EQ(memlimit::LimitValue("67108864\n"), 67108864u);
    EXPECT_EQ(memlimit::LimitValue("max\n"), std::nullopt);
    EXPECT_EQ(memlimit::LimitValue("9223372036854771712\n"), std::nullopt); // v1's "no limit"
    EXPECT_EQ(memlimit::LimitValue(""), std::nullopt);
}

struct Groups {
    const char* procSelfCgroup;
    std::vector<std::string> folders;
};

class GroupFolders : public ::testing::TestWithParam<Groups> {};

TEST_P(GroupFolders, ListTheMemoryGroupsAndTheirParents) {
    EXPECT_EQ(cgroups::GroupFolders(GetParam().procSelfCgroup, "memory"), GetParam().folders);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GroupFolders,
    ::testing::Values(Groups{"0::/user.slice/app\n",
                             {"/sys/fs/cgroup/user.slice/app", "/sys/fs/cgroup/user.slice",
                              "/sys/fs/cgroup", "/sys/fs/cgroup/unified/user.slice/app",
                              "/sys/fs/cgroup/unified/user.slice", "/sys/fs/cgroup/unified"}},
                      Groups{"4:memory:/job\n3:cpu,cpuacct:/job\n0::/\n",
                             {"/sys/fs/cgroup/memory/job", "/sys/fs/cgroup/memory",
                              "/sys/fs/cgroup", "/sys/fs/cgroup/unified"}},
                      Groups{"7:cpuacct,memory:/a/b\n",
                             {"/sys/fs/cgroup/memory/a/b", "/sys/fs/cgroup/memory/a",
                              "/sys/fs/cgroup/memory"}},
                      Groups{"5:memoryless:/x\n9:name=systemd:/\n", {}}));

// Under an address-space limit the room left is what the limit leaves, and
// a larger request is refused as if memory had run out.
TEST(AvailableBytes, FollowsTheAddressSpaceLimit) {
    const pid_t child = ::fork();
    if (child == 0) {
        const uint64_t before = memlimit::AvailableBytes();
        std::ifstream statm("/proc/self/statm");
        uint64_t pages = 0;
        statm >> pages;
        const uint64_t room = uint64_t(64) << 20;
        const rlimit limit{pages * uint64_t(::sysconf(_SC_PAGESIZE)) + room, RLIM_INFINITY};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(2);
        const uint64_t after = memlimit::AvailableBytes();
        bool refused = false;
        try {
            memlimit::EnsureAvailable(room + (uint64_t(8) << 20));
        } catch (const std::bad_alloc&) {
            refused = true;
        }
        memlimit::EnsureAvailable(room / 2);
        ::_exit(after <= room && after >= room / 2 && before > room && refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace

} // namespace pelto
