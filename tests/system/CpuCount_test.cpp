#include "system/CpuCount.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace pelto {
namespace {

struct QuotaCase {
    const char* quota;
    const char* period; // null: quota is a v2 cpu.max text
    std::optional<unsigned> cpus;
};

class QuotaTest : public testing::TestWithParam<QuotaCase> {};

TEST_P(QuotaTest, GrantsTheProcessorsTheTimeCovers) {
    const QuotaCase& c = GetParam();
    EXPECT_EQ(c.period ? QuotaCpus(c.quota, c.period) : QuotaCpus(c.quota), c.cpus);
}

INSTANTIATE_TEST_SUITE_P(
    Files, QuotaTest,
    testing::Values(QuotaCase{"max 100000\n", nullptr, std::nullopt},
                    QuotaCase{"150000 100000\n", nullptr, 2u}, // one and a half: two
                    QuotaCase{"50000 100000\n", nullptr, 1u},  // half a processor: still one
                    QuotaCase{"400000 100000\n", nullptr, 4u},
                    QuotaCase{"100000\n", nullptr, std::nullopt}, // no period
                    QuotaCase{"-1\n", "100000\n", std::nullopt},  // v1 without a quota
                    QuotaCase{"250000\n", "100000\n", 3u},
                    QuotaCase{"0\n", "100000\n", std::nullopt},
                    QuotaCase{"x\n", "100000\n", std::nullopt}));

// The count follows the affinity mask the process was started with, as
// taskset or a scheduler sets it; checked in a child that sees only one CPU.
TEST(CpuCount, FollowsTheAffinityMask) {
    const unsigned all = UsableCpuCount();
    EXPECT_GE(all, 1u);
    EXPECT_LE(all, std::max(1u, std::thread::hardware_concurrency()));
    EXPECT_EQ(CountUsableCpus(), all);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(0, &one);
        if (::sched_setaffinity(0, sizeof one, &one) != 0) ::_exit(2);
        ::_exit(CountUsableCpus() == 1 ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
} // namespace pelto
