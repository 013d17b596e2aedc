#include "Interruption.h"

#include "system/SignalCleanup.h"

#include <atomic>
#include <csignal>

namespace pelto {

namespace interruption {
namespace {

std::atomic<int> g_signal{0};

static_assert(std::atomic<int>::is_always_lock_free);

void OnSignal(int signal) {
    int none = 0;
    if (!g_signal.compare_exchange_strong(none, signal)) signalcleanup::Handle(signal);
}

} // namespace

void Install() {
    signalcleanup::InstallWhereDefault({SIGINT, SIGTERM}, OnSignal);
}

int Signal() {
    return g_signal.load();
}

} // namespace interruption

} // namespace pelto
