#include "SignalCleanup.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <unistd.h>

namespace pelto {

namespace signalcleanup {
namespace {

constexpr int kSlots = 8;

// Written only while a slot is free, read by the handler only while it is taken.
struct Registered {
    int folder;
    char name[NAME_MAX + 1];
};
Registered g_files[kSlots];
std::atomic<bool> g_taken[kSlots];
std::atomic<int> g_deferring{0};
std::atomic<int> g_pending{0};

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

void RemoveRegistered() {
    for (int i = 0; i < kSlots; ++i)
        if (g_taken[i].load()) ::unlinkat(g_files[i].folder, g_files[i].name, 0);
}

// Inside the handler the signal is delivered again as soon as it returns.
void EndBy(int signal) {
    RemoveRegistered();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace

// Async-signal-safe: atomics, unlinkat, signal and raise only.
void Handle(int signal) {
    if (g_deferring.load() > 0) {
        int none = 0;
        g_pending.compare_exchange_strong(none, signal);
        return;
    }
    EndBy(signal);
}

void InstallWhereDefault(std::initializer_list<int> signals, void (*handler)(int)) {
    for (const int signal : signals) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) != 0) continue;
        if ((old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL) continue;
        struct sigaction action {};
        action.sa_handler = handler;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (const int other : signals)
            sigaddset(&action.sa_mask, other);
        ::sigaction(signal, &action, nullptr);
    }
}

void Install() {
    static std::once_flag once;
    std::call_once(once, [] { InstallWhereDefault({SIGTERM, SIGINT, SIGHUP}, Handle); });
}

CRegisteredPath::CRegisteredPath(int folder, const std::string& name) : m_nSlot(-1) {
    if (name.size() > NAME_MAX) return;
    static std::mutex claiming;
    std::lock_guard lock(claiming);
    for (int i = 0; i < kSlots; ++i)
        if (!g_taken[i].load()) {
            // The name is in place before the handler may read it.
            g_files[i].folder = folder;
            std::memcpy(g_files[i].name, name.c_str(), name.size() + 1);
            g_taken[i].store(true);
            m_nSlot = i;
            return;
        }
}

CRegisteredPath::~CRegisteredPath() {
    if (m_nSlot >= 0) g_taken[m_nSlot].store(false);
}

CDeferredSignals::CDeferredSignals() {
    ++g_deferring;
}

CDeferredSignals::~CDeferredSignals() {
    if (--g_deferring > 0) return;
    if (const int signal = g_pending.exchange(0)) {
        sigset_t only;
        sigemptyset(&only);
        sigaddset(&only, signal);
        pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
        EndBy(signal);
    }
}

} // namespace signalcleanup

} // namespace pelto
