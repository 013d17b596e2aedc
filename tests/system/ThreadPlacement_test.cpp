// Threads started apart: the work runs with its arguments, and once it runs
// the thread may go to every processor the process may use.

#include "system/ThreadPlacement.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <string>
#include <unistd.h>

namespace pelto {

namespace {

bool SameCpus(const cpu_set_t& a, const cpu_set_t& b) {
    return CPU_EQUAL(&a, &b);
}

TEST(StartApart, RunsTheWorkFreeToGoAnywhere) {
    cpu_set_t process;
    ASSERT_EQ(::sched_getaffinity(0, sizeof process, &process), 0);
    for (unsigned apart : {0u, 1u, 2u, 7u}) {
        std::string heard;
        cpu_set_t seen;
        CPU_ZERO(&seen);
        std::thread thread = StartApart(
            apart,
            [&](const std::string& word, int count) {
                ::sched_getaffinity(0, sizeof seen, &seen);
                heard = std::string(size_t(count), word[0]);
            },
            std::string("x"), 3);
        thread.join();
        EXPECT_EQ(heard, "xxx") << apart;
        EXPECT_TRUE(SameCpus(seen, process)) << apart;
    }
}

} // namespace

} // namespace pelto
